// An HTTP server on 127.0.0.1, at a port the system picks, for one test: it answers one
// connection at a time in the way the test asks, and stops, closing every connection, when it
// is destroyed.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>

class LoopbackServer {
public:
    enum class Reply { Document, CloseAtOnce, Silent, Endless };

    explicit LoopbackServer(Reply reply, std::string document = {})
        : m_reply(reply), m_document(std::move(document)) {
        sockaddr_in socketAddress{};
        socketAddress.sin_family = AF_INET;
        socketAddress.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof socketAddress;
        bind(m_listener, reinterpret_cast<sockaddr*>(&socketAddress), length);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&socketAddress), &length);
        address = "http://127.0.0.1:" + std::to_string(ntohs(socketAddress.sin_port)) +
                  "/reelmont-update.xml";
        m_thread = std::thread([this] {
            while (Wait(m_listener, POLLIN)) {
                const int client = accept(m_listener, nullptr, nullptr);
                ++connections;
                Answer(client);
                close(client);
            }
        });
    }
    ~LoopbackServer() {
        m_stop = true;
        m_thread.join();
        close(m_listener);
    }

    std::string address;
    std::atomic<int> connections{0};
    std::atomic<long> bytesSent{0};

private:
    // Waits until the socket is ready; false once the server is stopping.
    bool Wait(int socket, short events) {
        pollfd ready{socket, events, 0};
        while (!m_stop) {
            if (poll(&ready, 1, 20) > 0) {
                return true;
            }
        }
        return false;
    }
    bool Send(int client, const std::string& data) {
        const ssize_t sent = send(client, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        bytesSent += sent > 0 ? sent : 0;
        return sent >= 0 || errno == EAGAIN;
    }
    void Answer(int client) {
        char buffer[4096];
        std::string request;
        while (m_reply != Reply::CloseAtOnce && request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = Wait(client, POLLIN) ? recv(client, buffer, sizeof buffer, 0) : 0;
            if (got <= 0) {
                return;
            }
            request.append(buffer, got);
        }
        if (m_reply == Reply::Silent) { // until the client gives up
            while (Wait(client, POLLIN) && recv(client, buffer, sizeof buffer, 0) > 0) {
            }
        } else if (m_reply == Reply::Document) {
            Send(client, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(m_document.size()) +
                             "\r\n\r\n" + m_document);
        } else if (m_reply == Reply::Endless) {
            Send(client, "HTTP/1.0 200 OK\r\n\r\n");
            while (Wait(client, POLLOUT) && Send(client, std::string(sizeof buffer, ' '))) {
            }
        }
    }

    Reply m_reply;
    std::string m_document;
    int m_listener = socket(AF_INET, SOCK_STREAM, 0);
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
