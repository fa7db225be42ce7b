#pragma once
// Runs one of the built programs with arguments, collecting its exit status
// and what it printed (through files in a test directory).

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qln::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shell_quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Runs QUILLON_BIN_DIR/program; its output goes through files in dir.
inline RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                             const TempDir& dir) {
    const std::string out = dir.str() + "/stdout.txt";
    const std::string err = dir.str() + "/stderr.txt";
    std::string cmd = shell_quote(std::string(QUILLON_BIN_DIR) + "/" + program);
    for (const std::string& a : args) cmd += " " + shell_quote(a);
    cmd += " >" + shell_quote(out) + " 2>" + shell_quote(err);
    RunResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

}  // namespace qln::test
