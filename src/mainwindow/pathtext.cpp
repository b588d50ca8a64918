#include "pathtext.h"

#include <QFile>
#include <QLineEdit>
#include <QVariant>

namespace doorsel {

namespace {
constexpr const char* BytesProperty = "doorselPathBytes";
}

void setPathText(QLineEdit* edit, const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    edit->setProperty(BytesProperty, bytes);
    edit->setText(QFile::decodeName(bytes));
    // A long path shows from its start, as a text box shows what it was given.
    edit->setCursorPosition(0);
}

std::string pathText(const QLineEdit* edit)
{
    QByteArray bytes = edit->property(BytesProperty).toByteArray();
    if (QFile::decodeName(bytes) != edit->text())
        bytes = QFile::encodeName(edit->text());
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace doorsel
