#pragma once
// Frames delete themselves with their windows, so a frame that holds another
// one must never keep a plain pointer to it. A frame carries a lifetime
// token; a CFrameRef watches that token and yields nothing once the frame
// object is gone, whoever destroyed its window and whenever.
#include <memory>

class CFrameLifetime {
public:
    CFrameLifetime() = default;
    CFrameLifetime(const CFrameLifetime&) = delete;
    CFrameLifetime& operator=(const CFrameLifetime&) = delete;

    std::weak_ptr<const bool> Watch() const { return m_token; }

private:
    std::shared_ptr<const bool> m_token { std::make_shared<const bool>(true) };
};

template <class TFrame>
class CFrameRef {
public:
    CFrameRef() = default;
    explicit CFrameRef(TFrame* frame) { Reset(frame); }

    void Reset(TFrame* frame = nullptr)
    {
        m_pFrame = frame;
        m_token = frame != nullptr ? frame->Watch() : std::weak_ptr<const bool>();
    }

    // Null once the frame object has been deleted.
    TFrame* Get() const { return m_token.expired() ? nullptr : m_pFrame; }
    explicit operator bool() const { return Get() != nullptr; }

private:
    TFrame* m_pFrame { nullptr };
    std::weak_ptr<const bool> m_token;
};
