// A UDP relay in front of a test agent that misbehaves as a network can, in
// an order fixed by the requests themselves, never by the clock:
//   drop_first       the first N requests (of any client) are lost;
//   hold_odd_answers the answer to each client's 1st, 3rd, ... request is
//                    held back and delivered just before that client's next
//                    request is passed on: always late, and always arriving
//                    while the client waits for the next answer.
// Each client (address and port) gets its own socket towards the agent, so
// answers go back to whoever asked. The relay owns its sockets and one thread,
// which it stops and joins when it goes away; start and stop belong to the
// thread that made it.
#pragma once

#include <string>
#include <thread>

struct RelayFaults {
    int drop_first = 0;
    bool hold_odd_answers = false;
};

class UdpRelay {
public:
    UdpRelay() = default;
    ~UdpRelay();
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    // Listens on front_address:front_port and passes requests on to
    // back_address:back_port; false (with the reason in `error`) when it
    // cannot listen.
    bool start(const std::string& front_address, int front_port, const std::string& back_address, int back_port,
               const RelayFaults& faults, std::string& error);
    void stop();

private:
    void run();

    int front_ = -1;
    int wake_[2] = {-1, -1};  // a byte on wake_[1] ends the thread
    std::string back_address_;
    int back_port_ = 0;
    RelayFaults faults_;
    std::thread thread_;
};
