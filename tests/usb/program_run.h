#pragma once
// Our programs run as processes of their own beside the test bed: they inherit its
// environment (UMOCKDEV_DIR and the preload), so their hidapi sees the emulated adapters.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/portable.h"

namespace qvr::test {

struct ProgramResult {
  int status = -1;  // exit status; -1 when ended by a signal
  std::string out;
  std::string err;
};

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One started program; Finish waits for it and collects what it printed.
class Program {
 public:
  // `asUser`: a user id to run as (the permission cases), or -1 for ours.
  Program(std::vector<std::string> args, int asUser = -1) : dir_(MakeScratchFolder("qvr-run")) {
    ::chmod(dir_.c_str(), 0777);
    const std::string out = dir_ + "/out", err = dir_ + "/err";
    pid_ = ::fork();
    if (pid_ != 0) return;
    const int in = ::open("/dev/null", O_RDONLY);
    ::dup2(in, STDIN_FILENO);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDERR_FILENO);
    if (asUser >= 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid_t(asUser)) != 0 ||
                        ::setuid(uid_t(asUser)) != 0))
      ::_exit(126);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (pid_ > 0 && !finished_) {
      ::kill(pid_, SIGKILL);
      Finish();
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  ProgramResult Finish() {
    ProgramResult result;
    int status = 0;
    if (!finished_) ::waitpid(pid_, &status, 0);
    finished_ = true;
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    result.out = FileText(dir_ + "/out");
    result.err = FileText(dir_ + "/err");
    return result;
  }
  pid_t pid() const { return pid_; }
  // What the program has written to stderr so far.
  std::string ErrSoFar() const { return FileText(dir_ + "/err"); }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  bool finished_ = false;
};

inline ProgramResult RunProgram(std::vector<std::string> args, int asUser = -1) {
  Program program(std::move(args), asUser);
  return program.Finish();
}

}  // namespace qvr::test
