// What the client library's callback delivered, for tests in both trees:
// the callback is a plain function, so the record is one object per test
// program. Reset() between tests. The gate, when closed, holds the callback
// at its entry so that a test can see what happens while a callback blocks.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class ClientDeliveries {
public:
    static ClientDeliveries& Get()
    {
        static ClientDeliveries d;
        return d;
    }
    // The callback given to fnConnect.
    static void Callback(const char* text, int id) { Get().Add(text, id); }

    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_);
        items_.clear();
        gate_open_ = true;
        held_ = 0;
        cv_.notify_all();
    }
    void CloseGate()
    {
        std::lock_guard<std::mutex> lock(m_);
        gate_open_ = false;
    }
    void OpenGate()
    {
        std::lock_guard<std::mutex> lock(m_);
        gate_open_ = true;
        cv_.notify_all();
    }
    // Waits until a callback is held at the closed gate.
    bool WaitHeld(int seconds = 30)
    {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return held_ > 0; });
    }
    // Waits until `count` texts were delivered for `id`.
    bool WaitCount(int id, std::size_t count, int seconds = 30)
    {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return CountLocked(id) >= count; });
    }
    // Waits until a text for `id` contains `part`.
    bool WaitFor(int id, const std::string& part, int seconds = 30)
    {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] {
            for (const auto& item : items_)
                if (item.first == id && item.second.find(part) != std::string::npos)
                    return true;
            return false;
        });
    }
    std::vector<std::string> Texts(int id)
    {
        std::lock_guard<std::mutex> lock(m_);
        std::vector<std::string> out;
        for (const auto& item : items_)
            if (item.first == id)
                out.push_back(item.second);
        return out;
    }
    std::size_t Count(int id)
    {
        std::lock_guard<std::mutex> lock(m_);
        return CountLocked(id);
    }
    bool CalledOnThread(std::thread::id thread)
    {
        std::lock_guard<std::mutex> lock(m_);
        for (const auto& t : threads_)
            if (t == thread)
                return true;
        return false;
    }

private:
    void Add(const char* text, int id)
    {
        std::unique_lock<std::mutex> lock(m_);
        threads_.push_back(std::this_thread::get_id());
        if (!gate_open_) {
            ++held_;
            cv_.notify_all();
            cv_.wait(lock, [&] { return gate_open_; });
            --held_;
        }
        items_.emplace_back(id, text);
        cv_.notify_all();
    }
    std::size_t CountLocked(int id) const
    {
        std::size_t n = 0;
        for (const auto& item : items_)
            n += item.first == id;
        return n;
    }

    std::mutex m_;
    std::condition_variable cv_;
    std::vector<std::pair<int, std::string>> items_;  // guarded by m_
    std::vector<std::thread::id> threads_;            // guarded by m_
    bool gate_open_ = true;                           // guarded by m_
    int held_ = 0;                                    // guarded by m_
};
