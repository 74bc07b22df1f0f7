// Starting the real player (or a tool) as a child process with the headless
// drivers, its standard error into a file, and waiting for its end.
#pragma once
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {

struct Child {
    pid_t pid = -1;
};

// The environment without a display; XDG_RUNTIME_DIR set to runtimeDir,
// ASAN_OPTIONS replaced when asanOptions is given, started in workDir when
// one is given.
inline Child Spawn(const std::vector<std::string>& args, const std::string& runtimeDir,
                   const std::filesystem::path& errFile, const std::string& asanOptions = "",
                   const std::filesystem::path& workDir = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        bool display = s.rfind("DISPLAY=", 0) == 0 || s.rfind("WAYLAND_DISPLAY=", 0) == 0;
        bool asan = !asanOptions.empty() && s.rfind("ASAN_OPTIONS=", 0) == 0;
        if (display || asan || s.rfind("XDG_RUNTIME_DIR=", 0) == 0 || s.rfind("SDL_VIDEODRIVER=", 0) == 0) continue;
        env.push_back(s);
    }
    if (!asanOptions.empty()) env.push_back("ASAN_OPTIONS=" + asanOptions);
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    env.push_back("SDL_VIDEODRIVER=dummy");
    env.push_back("SDL_AUDIODRIVER=dummy");
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    Child child;
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// The exit status (128 + signal when killed), or -1 when it did not end in
// time.
inline int WaitExit(pid_t pid, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int st = 0;
        if (waitpid(pid, &st, WNOHANG) == pid) return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        if (std::chrono::steady_clock::now() > end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace testsupport
