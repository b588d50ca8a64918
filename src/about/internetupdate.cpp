#include "internetupdate.h"

#include "about/transfer.h"
#include "about/urlname.h"
#include "platform/filestore.h"
#include "widgets/shell.h"

namespace doorsel {

bool DownloadFile(Transfer& Inet1, const std::string& url, const std::string& folder, Shell& shell, QWidget* owner)
{
    if (Inet1.StillExecuting())
        return false;

    // A URL that names no file is refused before anything is fetched: there is nowhere to put it.
    const std::optional<std::string> path = about::DownloadPath(url, folder);
    if (!path) {
        shell.ShowMessage(owner, TransferErrorMessage);
        return false;
    }

    const std::optional<QByteArray> body = Inet1.OpenURL(url);
    if (!body) {
        // Closing the window ends its fetch; that is no error to report.
        if (!Inet1.Cancelled())
            shell.ShowMessage(owner, TransferErrorMessage);
        return false;
    }

    // A link under the download's name is replaced, never followed out of the program folder.
    const std::string content(body->constData(), static_cast<size_t>(body->size()));
    if (!ReplaceStoreFile(*path, content, Links::Replace)) {
        shell.ShowMessage(owner, TransferErrorMessage);
        return false;
    }
    return true;
}

} // namespace doorsel
