#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/private_runtime_dir.h"

// The link, model and valdrix-cli tests: an event loop for the timers, sockets and processes they
// use, and no widgets.
int main(int argc, char** argv) {
    const PrivateRuntimeDir runtime;
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
