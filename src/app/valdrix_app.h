#pragma once

// The application object: runs the main dialog and ends the program when it closes.
class CValdrixApp {
public:
    // Returns false: there is no message loop after the dialog.
    bool InitInstance();
};
