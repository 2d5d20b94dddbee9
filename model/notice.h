// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A listener's place on a notice: it leaves when the subscription goes, so a
// window that lives shorter than the puzzle cannot be called after it is gone.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel)
        : m_cancel(std::move(cancel))
    {
    }
    Subscription(Subscription &&other) noexcept
        : m_cancel(std::exchange(other.m_cancel, nullptr))
    {
    }
    Subscription &operator=(Subscription &&other) noexcept
    {
        if (this != &other) {
            Cancel();
            m_cancel = std::exchange(other.m_cancel, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription &) = delete;
    Subscription &operator=(const Subscription &) = delete;
    ~Subscription() { Cancel(); }

    void Cancel()
    {
        if (m_cancel)
            std::exchange(m_cancel, nullptr)();
    }

private:
    std::function<void()> m_cancel;
};

// Something the model tells whoever listens, in the order they subscribed,
// before the raiser goes on. Any number may listen.
template <class... Args>
class Notice {
public:
    using Listener = std::function<void(Args...)>;

    Notice() = default;
    Notice(const Notice &) = delete;
    Notice &operator=(const Notice &) = delete;

    [[nodiscard]] Subscription Subscribe(Listener listener)
    {
        const std::size_t id = ++m_state->LastId;
        m_state->Listeners.push_back({id, std::make_shared<Listener>(std::move(listener))});
        // The notice may go first (a test's puzzle): then leaving is nothing.
        return Subscription([state = std::weak_ptr<State>(m_state), id] {
            if (const std::shared_ptr<State> alive = state.lock())
                std::erase_if(alive->Listeners, [id](const Entry &entry) { return entry.Id == id; });
        });
    }

    void Raise(Args... args) const
    {
        // A listener may subscribe or leave while it is told: each is called
        // from a copy of the list, and kept alive while it runs.
        if (m_state->Listeners.empty())
            return;
        const std::vector<Entry> listeners = m_state->Listeners;
        for (const Entry &entry : listeners)
            (*entry.Call)(args...);
    }

    bool Empty() const { return m_state->Listeners.empty(); }

private:
    struct Entry {
        std::size_t Id;
        std::shared_ptr<Listener> Call;
    };
    struct State {
        std::vector<Entry> Listeners;
        std::size_t LastId = 0;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
