// SPDX-License-Identifier: GPL-3.0-or-later

// Windows hands a program its arguments in the ANSI code page and shows console bytes in the
// console's code page; both are taken in UTF-16 here instead.
#include "platform/Console.h"
#include "platform/LocalTime.h"
#include "platform/WideText.h"

#include <atomic>
#include <ostream>
#include <streambuf>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace selvo {
namespace {

// Writes UTF-8 text to a standard handle: converted to UTF-16 for a console, as bytes for a
// file or a pipe (the same bytes a Linux program writes).
class StandardHandleBuffer : public std::streambuf {
public:
    explicit StandardHandleBuffer(DWORD which) : m_handle(::GetStdHandle(which)) {
        DWORD mode = 0;
        m_console = ::GetConsoleMode(m_handle, &mode) != 0;
    }
    ~StandardHandleBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            m_pending.push_back(traits_type::to_char_type(c));
            if (m_pending.size() >= 4096) {
                drain(false);
            }
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        m_pending.append(s, static_cast<std::size_t>(n));
        if (m_pending.size() >= 4096) {
            drain(false);
        }
        return n;
    }
    int sync() override {
        drain(true);
        return 0;
    }

private:
    // A console gets whole characters only: a UTF-8 sequence cut at the end waits for the rest.
    void drain(bool all) {
        std::size_t complete = m_pending.size();
        if (m_console && !all) {
            std::size_t back = 0;
            while (back < 3 && back < complete &&
                   (static_cast<unsigned char>(m_pending[complete - 1 - back]) & 0xC0) == 0x80) {
                ++back;
            }
            if (back < complete &&
                static_cast<unsigned char>(m_pending[complete - 1 - back]) >= 0xC0) {
                complete -= back + 1;
            }
        }
        const std::string text = m_pending.substr(0, complete);
        m_pending.erase(0, complete);
        if (text.empty() || m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE) {
            return;
        }
        if (m_console) {
            const std::wstring wide =
                wideFromUtf8(text).value_or(std::wstring(text.begin(), text.end()));
            DWORD written = 0;
            ::WriteConsoleW(m_handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                            nullptr);
        } else {
            DWORD written = 0;
            ::WriteFile(m_handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
    }

    HANDLE m_handle;
    bool m_console = false;
    std::string m_pending;
};

bool isConsole(DWORD which) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

std::atomic<bool> g_interrupted{false};
HANDLE g_handled = nullptr; // set once the program has finished what it had in hand

// Ctrl+C and Ctrl+Break are noted and the program goes on; a second one is left to the system,
// which ends it. Closing the window, logging off or shutting down end the process as soon as
// this returns (or after a few seconds): it waits for the program to finish what it has.
BOOL WINAPI noteInterruption(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        return g_interrupted.exchange(true) ? FALSE : TRUE;
    }
    g_interrupted.store(true);
    if (g_handled != nullptr) {
        ::WaitForSingleObject(g_handled, 4500);
    }
    return TRUE;
}

} // namespace

void catchInterruptions() {
    if (g_handled == nullptr) {
        g_handled = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ::SetConsoleCtrlHandler(noteInterruption, TRUE);
}

bool interruptionRequested() {
    return g_interrupted.load();
}

void interruptionHandled() {
    if (g_handled != nullptr) {
        ::SetEvent(g_handled);
    }
}

std::optional<std::string> readStandardInput() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(input, buffer, sizeof buffer, &n, nullptr)) {
            // A pipe whose writer has gone is the end of the input.
            return ::GetLastError() == ERROR_BROKEN_PIPE ? std::optional(bytes) : std::nullopt;
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, n);
    }
}

std::vector<std::string> commandLineArguments(int, char*[]) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        args.push_back(utf8FromWide(wide[i]));
    }
    ::LocalFree(wide);
    return args;
}

// A Windows console may show an erase sequence as text, so the line is blanked instead.
ProgressLine progressLineOnStandardError() {
    return isConsole(STD_ERROR_HANDLE) ? ProgressLine::Blanks : ProgressLine::None;
}

struct ConsoleStreams::Streams {
    StandardHandleBuffer outBuffer{STD_OUTPUT_HANDLE};
    StandardHandleBuffer errBuffer{STD_ERROR_HANDLE};
    std::ostream out{&outBuffer};
    std::ostream err{&errBuffer};
};

ConsoleStreams::ConsoleStreams() : m_streams(std::make_unique<Streams>()) {
    m_streams->err.setf(std::ios::unitbuf); // errors appear at once, as on std::cerr
}

ConsoleStreams::~ConsoleStreams() {
    m_streams->out.flush();
    m_streams->err.flush();
}

std::ostream& ConsoleStreams::out() {
    return m_streams->out;
}

std::ostream& ConsoleStreams::err() {
    return m_streams->err;
}

std::tm localTime(std::time_t when) {
    std::tm local{};
    ::localtime_s(&local, &when);
    return local;
}

} // namespace selvo
