#pragma once

#include <string>

class QWidget;

namespace doorsel {

class Shell;
class Transfer;

// The module `InternetUpdate`.

inline constexpr const char* TransferErrorMessage
    = "An error has occured in the file transfer or write.  Please try again later.";

// Fetches the URL with Inet1 and stores the body unchanged in the folder under the URL's last path
// segment. True when the file has been written. A fetch already running on Inet1 makes it return
// false at once, silently; any other failure shows TransferErrorMessage once, over owner. A failed
// call never leaves a partial or empty file in place of the one stored before, and never writes
// outside the folder.
bool DownloadFile(Transfer& Inet1, const std::string& url, const std::string& folder, Shell& shell, QWidget* owner);

} // namespace doorsel
