// Shared by the Linux file layer's tests: error codes of calls, saving the
// way a list is saved (with file_calls.h), and running a call as another
// user.
#pragma once

#include <sys/stat.h>

#include <functional>
#include <string>

#include "file_calls.h"
#include "platform/linux/posix_file_system.h"

namespace pellox::testing {

// Saves as Save of file_calls.h does, through a PosixFileSystem of its own.
void Save(const std::string& target, const std::string& contents);

// The whole file read through OpenForReading.
std::string ReadThrough(FileSystem& files, const std::string& path);

struct stat StatOf(const std::string& path);

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
// Debian's "users" group, given to the child as a supplementary group.
constexpr gid_t kUsersGroup = 100;

// Runs `body` in a child process as user nobody (with the supplementary
// group "users"); the child's exit code is what `body` returns, -1 when it
// did not end within `timeoutSeconds`. Needs root to change user.
int AsNobody(const std::function<int()>& body, int timeoutSeconds = 60);

// Runs `body` in a child process under the test's own user, bounded like
// AsNobody; for calls that might never return.
int InChild(const std::function<int()>& body, int timeoutSeconds = 60);

}  // namespace pellox::testing
