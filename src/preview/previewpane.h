#pragma once

#include <QFrame>
#include <QImage>
#include <QSize>

#include <string>

class QLabel;

namespace doorsel {

class Shell;

// The thumbnail area `picThumb` of both the main and the browse window: 280 x 210 pixels, white,
// with the centred label `labelNoPreview` ("No Preview Available") over it. showPreviewOf() looks
// for the preview picture beside an executable and draws it fitted into the area; the owning
// window's SetPicture() decides which executable (the main window: the current logon screen; the
// browse window: the selected row).
class PreviewPane : public QFrame {
    Q_OBJECT

public:
    explicit PreviewPane(QWidget* parent = nullptr);
    ~PreviewPane() override;

    // Refreshes the preview for the executable at this path (bytes, as stored). Any failure ends the
    // refresh silently and leaves what was shown before.
    void showPreviewOf(const std::string& executablePath);

    // The full path of the picture now shown, or "" when none.
    const std::string& PreviewPath() const { return previewPath; }

    // Where a double-click (or Enter or Space) opens the picture shown: the owning window's shell.
    // Until it is set, nothing opens.
    void OpenPicturesWith(Shell& opener) { shell = &opener; }

    // Hidden exactly when a picture is shown.
    QLabel* labelNoPreview() const { return noPreview; }

    // The size the last picture was decoded at into `pic1` (before `pic1` was emptied again): the
    // size it is drawn at. Empty before the first picture.
    QSize lastDecodedSize() const { return decodedSize; }

signals:
    // A left double-click, or Enter or Space on the focused area: picThumb_DblClick opens the picture.
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Opens the picture shown with its default program; with none shown, nothing happens.
    void picThumb_DblClick();
    // Reads the picture's size, works out its place and decodes it at the drawn size into pic1;
    // false when the file cannot be read or decoded, or is cut short.
    bool loadPicture(const std::string& path);
    // `file` is what a screen reader hears of the executable previewed.
    void showNoPreview(bool shown, const QString& file);
    // Draws pic1 into the area where it fits, then empties pic1.
    void FitPicture();

    Shell* shell = nullptr;
    std::string previewPath;
    QLabel* noPreview = nullptr;
    QImage canvas; // the picture the area shows, white around it; none is white; stays until the next refresh
    QImage pic1; // the picture between loading and drawing
    QSize pictureSize; // its own size, which the fit works on
    QSize decodedSize;
};

} // namespace doorsel
