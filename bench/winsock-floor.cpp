// What Winsock itself costs on this system (meant for Wine), without Vorlan: the
// floor under the fan-out benchmark of the Windows build.
//
// "serve PORT" is the least a fan-out server can do with the same calls: it
// answers a log-in with the one message vorlan-loadgen waits for and relays
// every main-chat line to every other connection, on WSAAsyncSelect messages
// of a message-only window, handling every waiting notification before one
// send per connection with output. bench/fanout.sh --wine-floor drives it.
//
// "calls [CLIENTS] [ROUNDS]" opens CLIENTS loopback connections inside one
// process, registers the accepted ends with WSAAsyncSelect on a message-only
// window as the program does, and times
//  - one send() of a chat-line-sized block on every accepted socket (a fan-out round);
//  - a line arriving on every connection, handled from its FD_READ message with
//    one recv() (the receive side of a round);
//  - one posted message round trip through the queue.
// bench/fanout.sh --wine-calls builds and runs it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr UINT kSocketMessage = WM_APP + 1;
constexpr int kLineBytes = 40;

double NowUs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuUs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10;
    };
    return value(kernel) + value(user);
}

int readsHandled = 0;
char receiveBuffer[4096];

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSocketMessage) {
        if (WSAGETSELECTEVENT(lParam) == FD_READ &&
            recv(static_cast<SOCKET>(wParam), receiveBuffer, sizeof receiveBuffer, 0) > 0) {
            ++readsHandled;
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Drain(const std::vector<SOCKET>& sockets) {
    for (SOCKET s : sockets) {
        while (recv(s, receiveBuffer, sizeof receiveBuffer, 0) > 0) {
        }
    }
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

struct Connection {
    int id = 0;
    std::string input, output;
    bool queued = false;
};

std::unordered_map<SOCKET, Connection> connections;
std::vector<SOCKET> queued;
int nextId = 1;

void Queue(SOCKET socket, Connection& connection, const std::string& frame) {
    connection.output += frame;
    if (!connection.queued) connection.queued = true, queued.push_back(socket);
}

void Flush(SOCKET socket, Connection& connection) {
    connection.queued = false;
    while (!connection.output.empty()) {
        const int sent = send(socket, connection.output.data(), static_cast<int>(connection.output.size()), 0);
        if (sent <= 0) return;
        connection.output.erase(0, static_cast<std::size_t>(sent));
    }
}

void HandleNotification(SOCKET listener, HWND window, const MSG& message) {
    const SOCKET socket = static_cast<SOCKET>(message.wParam);
    switch (WSAGETSELECTEVENT(message.lParam)) {
        case FD_ACCEPT: {
            const SOCKET accepted = accept(listener, nullptr, nullptr);
            if (accepted == INVALID_SOCKET) return;
            const BOOL on = TRUE;
            setsockopt(accepted, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
            WSAAsyncSelect(accepted, window, kSocketMessage, FD_READ | FD_WRITE | FD_CLOSE);
            connections[accepted].id = nextId++;
            return;
        }
        case FD_READ: {
            const auto found = connections.find(socket);
            if (found == connections.end()) return;
            const int count = recv(socket, receiveBuffer, sizeof receiveBuffer, 0);
            if (count <= 0) return;
            Connection& sender = found->second;
            sender.input.append(receiveBuffer, static_cast<std::size_t>(count));
            std::size_t start = 0;
            for (std::size_t end; (end = sender.input.find('\0', start)) != std::string::npos; start = end + 1) {
                const std::string line = sender.input.substr(start, end - start);
                if (line.rfind("00", 0) == 0) {
                    Queue(socket, sender, std::string("001", 4));
                } else if (line.rfind("02", 0) == 0) {
                    std::string frame = "04" + std::to_string(sender.id) + '\xAC' + line.substr(2);
                    frame.push_back('\0');
                    for (auto& [other, connection] : connections) {
                        if (other != socket) Queue(other, connection, frame);
                    }
                }
            }
            sender.input.erase(0, start);
            return;
        }
        case FD_WRITE: {
            const auto found = connections.find(socket);
            if (found != connections.end()) Flush(socket, found->second);
            return;
        }
        case FD_CLOSE:
            connections.erase(socket);
            closesocket(socket);
            return;
        default: return;
    }
}

int Serve(HWND window, std::uint16_t port) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 5) != 0) {
        std::printf("Couldn't start server.\n");
        return 1;
    }
    WSAAsyncSelect(listener, window, kSocketMessage, FD_ACCEPT);
    std::printf("Server started.\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, window, kSocketMessage, kSocketMessage) > 0) {
        HandleNotification(listener, window, message);
        while (PeekMessageA(&message, window, kSocketMessage, kSocketMessage, PM_REMOVE)) {
            HandleNotification(listener, window, message);
        }
        for (SOCKET socket : queued) {
            const auto found = connections.find(socket);
            if (found != connections.end()) Flush(socket, found->second);
        }
        queued.clear();
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const std::string mode = argc > 1 ? argv[1] : "calls";

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WinsockFloor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WinsockFloor", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (mode == "serve") return Serve(window, static_cast<std::uint16_t>(argc > 2 ? std::atoi(argv[2]) : 5555));
    const int clients = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 20;

    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    listen(listener, SOMAXCONN);

    std::vector<SOCKET> peers, accepted;  // peers: the generator's ends; accepted: the server's ends
    for (int i = 0; i < clients; ++i) {
        SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(c, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            std::fprintf(stderr, "connect %d failed: %d\n", i, WSAGetLastError());
            return 1;
        }
        SOCKET a = accept(listener, nullptr, nullptr);
        const BOOL on = TRUE;
        setsockopt(a, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        setsockopt(c, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        u_long nonBlocking = 1;
        ioctlsocket(c, FIONBIO, &nonBlocking);
        WSAAsyncSelect(a, window, kSocketMessage, FD_READ | FD_WRITE | FD_CLOSE);
        peers.push_back(c);
        accepted.push_back(a);
    }
    Pump();  // the first FD_WRITE of every accepted socket

    char line[kLineBytes];
    for (char& c : line) c = 'x';

    double sendUs = 0, sendCpuUs = 0;
    double readUs = 0, readCpuUs = 0;
    for (int round = 0; round < rounds; ++round) {
        double cpu = ProcessCpuUs(), start = NowUs();
        for (SOCKET s : accepted) send(s, line, kLineBytes, 0);
        sendUs += NowUs() - start;
        sendCpuUs += ProcessCpuUs() - cpu;
        Sleep(5);
        Drain(peers);

        for (SOCKET s : peers) send(s, line, kLineBytes, 0);
        Sleep(5);
        readsHandled = 0;
        cpu = ProcessCpuUs();
        start = NowUs();
        const double deadline = start + 5e6;
        while (readsHandled < clients && NowUs() < deadline) {
            MsgWaitForMultipleObjectsEx(0, nullptr, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            Pump();
        }
        readUs += NowUs() - start;
        readCpuUs += ProcessCpuUs() - cpu;
        Pump();
    }

    double fionreadUs = 0;
    for (int round = 0; round < rounds; ++round) {
        const double start = NowUs();
        for (SOCKET s : accepted) {
            u_long pending = 0;
            ioctlsocket(s, FIONREAD, &pending);
        }
        fionreadUs += NowUs() - start;
    }

    const int postRounds = 2000;
    double start = NowUs();
    for (int i = 0; i < postRounds; ++i) {
        PostMessageA(window, WM_APP + 2, 0, 0);
        Pump();
    }
    const double postUs = (NowUs() - start) / postRounds;

    const double calls = static_cast<double>(clients) * rounds;
    std::printf("connections        %d, %d rounds\n", clients, rounds);
    std::printf(
        "send               %.1f us per call (%.1f us CPU of this process); a round to every connection %.1f ms\n",
        sendUs / calls, sendCpuUs / calls, sendUs / rounds / 1000);
    std::printf("FD_READ + recv     %.1f us per line (%.1f us CPU of this process)\n", readUs / calls,
                readCpuUs / calls);
    std::printf("post + dispatch    %.1f us per message\n", postUs);
    std::printf("FIONREAD           %.1f us per call\n", fionreadUs / calls);
    for (SOCKET s : peers) closesocket(s);
    for (SOCKET s : accepted) closesocket(s);
    closesocket(listener);
    return 0;
}
