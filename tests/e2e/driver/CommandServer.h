#pragma once

#include <string>

class Driver;

// Serves the driver's commands over one TCP connection on 127.0.0.1, so that
// the test harness pays Wine's start-up once instead of once per command.
// A request is one line of words, each "w" and its percent-encoded bytes; the
// answer is one line,
// "OK " or "ERR " followed by the percent-encoded output. "quit" ends.
class CommandServer {
public:
    explicit CommandServer(Driver& driver) : driver_(driver) {}
    int Serve(unsigned short port);

private:
    std::string Answer(const std::string& line, bool& quit);

    Driver& driver_;
};
