#pragma once

// The platform's boxes as windows: the message box, the input query box and a dialog's modal
// run through Qt Widgets, apart from platform/message_box.h so that a process without windows
// links no Qt Widgets. A program with windows calls `useWindowDialogs()` once at start.

namespace vornak {

// Makes the boxes as windows the platform's boxes (UserDialogs::setPlatformDialogs).
void useWindowDialogs();

}  // namespace vornak
