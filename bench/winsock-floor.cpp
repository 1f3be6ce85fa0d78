// What Winsock itself costs on this system (meant for Wine), without Vorlan: the
// floor under the fan-out benchmark of the Windows build. It opens CLIENTS
// loopback connections inside one process, registers the accepted ends with
// WSAAsyncSelect on a message-only window as the program does, and times
//  - one send() of a chat-line-sized block on every accepted socket (a fan-out round);
//  - a line arriving on every connection, handled from its FD_READ message with
//    one recv() (the receive side of a round);
//  - one posted message round trip through the queue.
// Usage: winsock-floor.exe [CLIENTS] [ROUNDS]; bench/fanout.sh --wine-floor builds and runs it.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char** argv) {
    const int clients = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WinsockFloor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WinsockFloor", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

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
    for (SOCKET s : peers) closesocket(s);
    for (SOCKET s : accepted) closesocket(s);
    closesocket(listener);
    return 0;
}
