#pragma once

#include <QTemporaryDir>

// A line end owed on a link is kept for the next run under XDG_RUNTIME_DIR: while this lives, the
// tests keep theirs under a folder of their own, never the user's.
class PrivateRuntimeDir {
public:
    PrivateRuntimeDir() { qputenv("XDG_RUNTIME_DIR", m_folder.path().toUtf8()); }

private:
    QTemporaryDir m_folder;
};
