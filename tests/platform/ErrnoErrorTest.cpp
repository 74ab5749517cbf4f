// errno values become the numbers and wording of the file-system object.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/ErrnoError.h"

namespace {

using platform::PathKind;

std::string Text(int err, PathKind kind = PathKind::File) {
    platform::ErrorText text = platform::ErrorTextFor(err, kind);
    return std::to_string(text.number) + " " + text.description;
}

TEST(ErrnoError, MissingThingsDependOnWhatWasAskedFor) {
    EXPECT_EQ(Text(ENOENT, PathKind::File), "53 File not found");
    EXPECT_EQ(Text(ENOENT, PathKind::Folder), "76 Path not found");
    EXPECT_EQ(Text(ENOTDIR, PathKind::File), "76 Path not found");
    EXPECT_EQ(Text(ENOTDIR, PathKind::Folder), "76 Path not found");
}

TEST(ErrnoError, RefusalsAreAllPermissionDenied) {
    for (int err : {EACCES, EPERM, EROFS, EBUSY, ETXTBSY}) EXPECT_EQ(Text(err), "70 Permission denied") << err;
}

TEST(ErrnoError, OtherFamiliesKeepTheirOwnNumbers) {
    EXPECT_EQ(Text(EEXIST), "58 File already exists");
    EXPECT_EQ(Text(ENAMETOOLONG), "52 Bad file name or number");
    EXPECT_EQ(Text(EINVAL), "52 Bad file name or number");
    EXPECT_EQ(Text(ENOMEDIUM), "71 Disk not ready");
    EXPECT_EQ(Text(EIO), "57 Device I/O error");
    EXPECT_EQ(Text(ENOSPC), "61 Disk full");
    EXPECT_EQ(Text(EDQUOT), "61 Disk full");
    EXPECT_EQ(Text(EMFILE), "67 Too many files");
    EXPECT_EQ(Text(ENOMEM), "7 Out of memory");
}

TEST(ErrnoError, AnythingElseIsAnAccessError) {
    for (int err : {EISDIR, ELOOP, ENOTEMPTY, EXDEV, 0, 99999}) EXPECT_EQ(Text(err), "75 Path/File access error") << err;
}

TEST(ErrnoError, RaisedErrorNamesThePath) {
    automation::AutomationError error = platform::ErrorFromErrno(EACCES, PathKind::Folder, "/srv/data/");
    EXPECT_EQ(error.number(), 70);
    EXPECT_EQ(error.description(), "Permission denied");
    EXPECT_EQ(error.file(), "/srv/data/");
}

}  // namespace
