#include "previewpane.h"

#include "platform/appinfo.h"
#include "platform/fileurl.h"
#include "preview/fit.h"
#include "preview/lookup.h"
#include "preview/picturefile.h"
#include "widgets/accessiblefactory.h"
#include "widgets/keyboardaccess.h"
#include "widgets/shell.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>

namespace doorsel {
namespace {

constexpr int AreaWidth = static_cast<int>(ThumbWidthTwips) / TwipsPerPixel;
constexpr int AreaHeight = static_cast<int>(ThumbHeightTwips) / TwipsPerPixel;

bool turnsSideways(const QImageReader& reader)
{
    return reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
}

QString decoded(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// What a screen reader hears of the file previewed, which the window never shows: its name and
// folder.
QString spokenFile(const std::string& executablePath)
{
    const size_t cut = executablePath.rfind(PathSeparator);
    if (cut == std::string::npos)
        return decoded(executablePath);
    return PreviewPane::tr("%1 in %2")
        .arg(decoded(executablePath.substr(cut + 1)), decoded(executablePath.substr(0, cut == 0 ? 1 : cut)));
}

// The area is heard as a button, as Enter, Space and a double-click open its picture.
class PreviewAccessible : public QAccessibleWidget {
public:
    explicit PreviewAccessible(PreviewPane* pane)
        : QAccessibleWidget(pane, QAccessible::Button)
    {
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<PreviewPane*>(widget())->doubleClicked();
    }
};

QAccessibleInterface* previewAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("doorsel::PreviewPane"))
        return new PreviewAccessible(static_cast<PreviewPane*>(object));
    return nullptr;
}

} // namespace

PreviewPane::PreviewPane(QWidget* parent)
    : QFrame(parent)
    , noPreview(new QLabel(QStringLiteral("No Preview Available"), this))
{
    InstallAccessibleFactoryOnce<previewAccessible>();
    setObjectName(QStringLiteral("picThumb"));
    setFrameShape(QFrame::NoFrame);
    setFixedSize(AreaWidth, AreaHeight);

    // The caption covers the whole area and wraps between words, so it stays whole and centred
    // whichever font stands in for Tahoma. Clicks go through it to the area.
    noPreview->setObjectName(QStringLiteral("labelNoPreview"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(18);
    font.setBold(true);
    noPreview->setFont(font);
    noPreview->setAlignment(Qt::AlignCenter);
    noPreview->setWordWrap(true);
    noPreview->setGeometry(0, 0, AreaWidth, AreaHeight);
    noPreview->setAttribute(Qt::WA_TransparentForMouseEvents);

    // In the tab order, so that the picture opens from the keyboard too; a screen reader hears
    // the area's name from the window and, as its description, which file it previews and, with no
    // picture, that there is none.
    setFocusPolicy(Qt::StrongFocus);
    showNoPreview(true, QString());
    connect(this, &PreviewPane::doubleClicked, this, &PreviewPane::picThumb_DblClick);
}

PreviewPane::~PreviewPane() = default;

void PreviewPane::showPreviewOf(const std::string& executablePath)
{
    previewPath.clear();
    const QString file = executablePath.empty() ? QString() : spokenFile(executablePath);
    const std::string folder = FolderOfExecutable(executablePath);
    const std::string picture = IsSystemLogonScreen(folder) ? std::string() : FindPreviewPicture(folder);
    if (picture.empty()) {
        pic1 = QImage();
        canvas = QImage();
        showNoPreview(true, file);
        update();
        return;
    }
    // A picture that cannot be read leaves the area, the label and any earlier picture as they were.
    if (!loadPicture(picture))
        return;
    previewPath = picture;
    showNoPreview(false, file);
    FitPicture();
}

void PreviewPane::showNoPreview(bool shown, const QString& file)
{
    noPreview->setVisible(shown);
    QStringList description;
    if (!file.isEmpty())
        description << file;
    if (shown)
        description << noPreview->text();
    setAccessibleDescription(description.join(QStringLiteral(". ")));
}

bool PreviewPane::loadPicture(const std::string& path)
{
    if (!PictureFileIsComplete(path))
        return false;
    // Opened by its bytes: a name that is not valid UTF-8 would not survive a trip through QString.
    std::FILE* handle = std::fopen(path.c_str(), "rb");
    if (handle == nullptr)
        return false;
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        std::fclose(handle);
        return false;
    }
    QImageReader reader(&file);
    // Photos stand the way the camera held them; the size from the header is before turning.
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return false;
    if (turnsSideways(reader))
        size.transpose();

    // Decoded straight at the size it is drawn: a photo of many megapixels never exists in full.
    const PixelRect fit = FitPictureInPixels(size.width(), size.height());
    QSize decodeSize = QSize(fit.width, fit.height).expandedTo(QSize(1, 1));
    if (decodeSize != size) {
        if (turnsSideways(reader))
            decodeSize.transpose();
        reader.setScaledSize(decodeSize);
        reader.setQuality(100); // smooth scaling
    }
    QImage image = reader.read();
    if (image.isNull())
        return false;
    pic1 = std::move(image);
    pictureSize = size;
    decodedSize = pic1.size();
    return true;
}

void PreviewPane::FitPicture()
{
    // Made only for a picture: an empty area is painted white without one (the window's first paint
    // need not fill and copy a picture's worth of memory).
    if (canvas.isNull())
        canvas = QImage(AreaWidth, AreaHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const PixelRect fit = FitPictureInPixels(pictureSize.width(), pictureSize.height());
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(fit.x, fit.y, fit.width, fit.height), pic1);
    painter.end();
    pic1 = QImage();
    update();
}

void PreviewPane::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (canvas.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, canvas);
    painter.end();
    QFrame::paintEvent(event);
}

void PreviewPane::picThumb_DblClick()
{
    // A failed refresh can leave an earlier picture on screen with no path to open.
    if (shell != nullptr && noPreview->isHidden() && !previewPath.empty())
        shell->Open(FileUrl(previewPath));
}

void PreviewPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    else
        QFrame::mouseDoubleClickEvent(event);
}

void PreviewPane::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterOrSpace(*event)) {
        // A key held down opens the picture once, not once for each repeat.
        if (!event->isAutoRepeat())
            emit doubleClicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace doorsel
