// A temporary folder of a test's own, and running a program to see its status and output.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace sktch::test_support {

// A new empty folder, removed with everything in it when this goes.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sktch-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

struct ProgramRun {
    int status = -1;     // the exit status; -1 when it did not exit by itself
    std::string output;  // what it wrote on stdout and stderr, interleaved
};

// Runs a program with its arguments and waits for it to end. `environment` entries are set
// (a value) or unset (none) in the program's environment only.
inline ProgramRun run_program(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& environment = {}) {
    std::FILE* log = std::tmpfile();
    ProgramRun run;
    if (!log) return run;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        for (const auto& [name, value] : environment) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        if (dup2(fileno(log), 1) < 0 || dup2(fileno(log), 2) < 0) _exit(126);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    std::rewind(log);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, log)) > 0;)
        run.output.append(buffer, n);
    std::fclose(log);
    return run;
}

}  // namespace sktch::test_support
