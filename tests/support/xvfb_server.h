// A private Xvfb server on the first free display from 91, for tests that
// need a real X11 window. Start() is false when Xvfb cannot start.
#pragma once
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace testsupport {

class XvfbServer {
public:
    // screen: Xvfb's "WxHxD" of screen 0.
    bool Start(const std::string& screen = "1024x768x24") {
        for (int n = 91; n < 190 && m_pid <= 0; ++n) {
            std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
            std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            struct stat st {};
            if (stat(sock.c_str(), &st) == 0 || stat(lock.c_str(), &st) == 0) continue;
            std::string display = ":" + std::to_string(n);
            const char* argv[] = {"Xvfb", display.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr};
            pid_t pid = 0;
            if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
            for (int i = 0; i < 500; ++i) {
                // The socket alone may be another test's server that won
                // the display meanwhile: the lock names the owner.
                if (stat(sock.c_str(), &st) == 0 && LockOwner(lock) == pid) {
                    m_pid = pid;
                    m_display = display;
                    return true;
                }
                int status = 0;
                if (waitpid(pid, &status, WNOHANG) == pid) break;  // display taken meanwhile
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (m_pid <= 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        return m_pid > 0;
    }
    ~XvfbServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& Display() const { return m_display; }

    // SDL's video on this server with the software renderer (read-back of a
    // shown frame is defined for it). The empty text, else what failed.
    std::string InitSdl() const {
        setenv("DISPLAY", m_display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return SDL_GetError();
        if (std::string(SDL_GetCurrentVideoDriver()) != "x11") return "not on x11";
        return {};
    }

private:
    // The pid written in an X server's lock file (-1: none readable).
    static pid_t LockOwner(const std::string& lock) {
        std::ifstream in(lock);
        long pid = -1;
        if (!(in >> pid)) return -1;
        return static_cast<pid_t>(pid);
    }

    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace testsupport
