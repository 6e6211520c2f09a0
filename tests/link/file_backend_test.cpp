#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "link/file_backend.h"

namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Write(FileBackend& backend, const std::string& frame) {
    ULONG length = static_cast<ULONG>(frame.size());
    return backend.WriteData(0, frame.data(), &length) && length == frame.size();
}

TEST(FileBackend, AppendsEveryFrameByteForByte) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("frames.bin").toStdString();
    {
        FileBackend backend(path);
        ASSERT_TRUE(backend.Open(0));
        EXPECT_TRUE(Write(backend, "*RST\n"));
    }
    FileBackend again(path);
    ASSERT_TRUE(again.Open(0));
    EXPECT_TRUE(Write(again, std::string("*TRG\n\0", 6)));
    EXPECT_EQ(Contents(path), std::string("*RST\n*TRG\n\0", 11));
}

TEST(FileBackend, SaysWhyItCannotOpenOrWrite) {
    FileBackend backend("/nonexistent-folder/frames.bin");
    EXPECT_FALSE(backend.Open(0));
    EXPECT_NE(backend.LastError().find("/nonexistent-folder/frames.bin"), std::string::npos);
    EXPECT_FALSE(Write(backend, "*RST\n"));
    EXPECT_NE(backend.LastError().find("not open"), std::string::npos);
}

}  // namespace
