#include "CommandServer.h"

#include <winsock2.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

#include "Driver.h"
#include "Escaping.h"

namespace {

// Sends every byte or fails.
bool SendAll(SOCKET socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// One connection: requests in, answers out, until "quit" or the peer leaves.
bool ServeConnection(SOCKET connection, const std::function<std::string(const std::string&, bool&)>& answer) {
    std::string pending;
    char chunk[4096];
    for (;;) {
        const int n = recv(connection, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        pending.append(chunk, static_cast<size_t>(n));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            bool quit = false;
            if (!SendAll(connection, answer(line, quit) + "\n")) return false;
            if (quit) return true;
        }
    }
}

}  // namespace

std::string CommandServer::Answer(const std::string& line, bool& quit) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    std::string word;
    // Each word is "w" followed by its percent-encoded bytes (so it may be empty).
    while (stream >> word) words.push_back(Escaping::Decode(word.substr(1)));
    if (words.size() == 1 && words[0] == "quit") {
        quit = true;
        return "OK bye";
    }
    std::string out;
    const bool ok = driver_.Run(words, out);
    return (ok ? "OK " : "ERR ") + Escaping::Encode(out);
}

int CommandServer::Serve(unsigned short port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 2) != 0) {
        std::fprintf(stderr, "vorlan-driver: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    auto answer = [this](const std::string& line, bool& quit) { return Answer(line, quit); };
    for (;;) {
        SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) break;
        const bool quit = ServeConnection(connection, answer);
        closesocket(connection);
        if (quit) break;
    }
    closesocket(listener);
    WSACleanup();
    return 0;
}
