#include "frmSearching.h"

#include "platform/outsidetext.h"
#include "ui_frmSearching.h"

#include "widgets/formfit.h"
#include "widgets/keyboardaccess.h"

#include <QFile>

namespace doorsel {

frmSearching::frmSearching(const std::string& folder, QWidget* opener)
    : QDialog(opener, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::frmSearching>())
    , folder(folder)
{
    ui->setupUi(this);
    UseFormTextSize(*this);
    UseKeyboardAccess(*this);
    setFixedSize(size());
    setWindowModality(Qt::WindowModal);
    connect(ui->btnCancel, &QPushButton::clicked, this, &frmSearching::reject);
    showProgress(0, folder);
}

frmSearching::~frmSearching() = default;

void frmSearching::showProgress(long long found, const std::string& folderNow)
{
    setFitted(*ui->labelSearching, tr("Searching \""), folder, tr("\" and its sub-folders."));
    ui->labelFound->setText(tr("Logon screens found so far: %1").arg(found));
    setFitted(*ui->labelFolder, tr("Reading "), folderNow, QString());
}

void frmSearching::reject()
{
    emit cancelled();
    QDialog::reject();
}

void frmSearching::setFitted(QLabel& label, const QString& before, const std::string& path, const QString& after)
{
    // A folder's name must not reorder the words around it.
    const std::string isolated = IsolatedText(path);
    const QString shown = QFile::decodeName(QByteArray(isolated.data(), static_cast<qsizetype>(isolated.size())));
    const QFontMetrics metrics = label.fontMetrics();
    const int room = label.width() - metrics.horizontalAdvance(before + after);
    label.setText(before + metrics.elidedText(shown, Qt::ElideMiddle, room) + after);
}

} // namespace doorsel
