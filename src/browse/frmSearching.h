#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QLabel;

namespace Ui {
class frmSearching;
}

namespace doorsel {

// Shown while a walk for the browse window takes its time: which folder is searched, how many logon
// screens have been found so far and which folder is being read, with a busy bar and Cancel. Modal
// to the window that opened the browse window; Cancel, Escape and the close box all cancel.
class frmSearching : public QDialog {
    Q_OBJECT

public:
    frmSearching(const std::string& folder, QWidget* opener);
    ~frmSearching() override;

    void showProgress(long long found, const std::string& folderNow);

    void reject() override;

signals:
    void cancelled();

private:
    // The text with `path` shortened in its middle so that the whole fits the label.
    static void setFitted(QLabel& label, const QString& before, const std::string& path, const QString& after);

    std::unique_ptr<Ui::frmSearching> ui;
    std::string folder;
};

} // namespace doorsel
