#pragma once

#include <cstddef>

namespace dravik {

// Text in a fixed buffer that is always NUL-terminated. Every fill is
// checked: text that would not fit is refused and the old text is kept, so a
// path is never silently cut short.
template <std::size_t Capacity>
class StackString {
public:
    static_assert(Capacity > 0, "room for the terminator is needed");

    StackString() { buffer_[0] = '\0'; }
    StackString(const StackString&) = delete;
    StackString& operator=(const StackString&) = delete;

    static constexpr std::size_t capacity() { return Capacity; }

    const char* get() const { return buffer_; }

    // Raw storage for platform calls that fill a buffer themselves; the
    // caller must check the call's result for truncation.
    char* data() { return buffer_; }

    std::size_t length() const {
        std::size_t n = 0;
        while (n < Capacity && buffer_[n] != '\0') {
            ++n;
        }
        return n;
    }

    // False when the storage holds no terminator, as after a platform call
    // that filled the whole buffer.
    bool isTerminated() const { return length() < Capacity; }

    bool empty() const { return buffer_[0] == '\0'; }

    void clear() { buffer_[0] = '\0'; }

    bool assign(const char* text) {
        const std::size_t n = measure(text, Capacity);
        if (n >= Capacity) {
            return false;
        }
        copy(0, text, n);
        return true;
    }

    bool append(const char* text) {
        const std::size_t used = length();
        if (used >= Capacity) {
            return false;
        }
        const std::size_t room = Capacity - used;
        const std::size_t n = measure(text, room);
        if (n >= room) {
            return false;
        }
        copy(used, text, n);
        return true;
    }

private:
    // Length of text, counting no further than limit.
    static std::size_t measure(const char* text, std::size_t limit) {
        std::size_t n = 0;
        while (n < limit && text[n] != '\0') {
            ++n;
        }
        return n;
    }

    void copy(std::size_t at, const char* text, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            buffer_[at + i] = text[i];
        }
        buffer_[at + n] = '\0';
    }

    char buffer_[Capacity];
};

}  // namespace dravik
