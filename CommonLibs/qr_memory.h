// A growable buffer on the C heap, used as qr_memory<char> for byte data.
//
// The object owns its data; copies are deep. It is not locked: its owner
// serialises access.
#pragma once

#include "qr_exception.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

template <typename T>
struct qr_memory_type_name;
template <>
struct qr_memory_type_name<char> {
    static constexpr const char* name = "char";
};

template <typename T>
class qr_memory {
public:
    qr_memory() = default;
    // Allocates `size` items without clearing them.
    explicit qr_memory(uint32_t size) { take_copy(nullptr, size); }
    qr_memory(const qr_memory& other) { take_copy(other.data_, other.size_); }
    virtual ~qr_memory() { std::free(data_); }

    virtual uint32_t append(const qr_memory& other) { return append(other.data_, other.size_); }

    // Appends `length` items from `from` and returns the new size. Throws,
    // keeping the old contents, when the buffer can't grow.
    virtual uint32_t append(const T* from, uint32_t length)
    {
        uint64_t wanted = uint64_t(size_) + length;
        if (length == 0)
            return size_;
        // `from` may point into this very buffer, which realloc may move.
        bool own = data_ != nullptr && from >= data_ && from < data_ + size_;
        size_t offset = own ? size_t(from - data_) : 0;
        T* grown = nullptr;
        if (wanted <= UINT32_MAX && wanted <= SIZE_MAX / sizeof(T))
            grown = static_cast<T*>(std::realloc(data_, size_t(wanted) * sizeof(T)));
        if (grown == nullptr)
            qr_exception("qr_memory<>::append Failed to allocate %llu of type '%s'",
                         static_cast<unsigned long long>(wanted), qr_memory_type_name<T>::name);
        data_ = grown;
        std::memmove(data_ + size_, own ? data_ + offset : from, size_t(length) * sizeof(T));
        size_ = uint32_t(wanted);
        return size_;
    }

    virtual qr_memory& operator=(const qr_memory& other)
    {
        if (this != &other) {
            std::free(data_);
            data_ = nullptr;
            size_ = 0;
            take_copy(other.data_, other.size_);
        }
        return *this;
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    uint32_t size() const { return size_; }

private:
    // Allocates `size` items and copies them from `from` when given.
    void take_copy(const T* from, uint32_t size)
    {
        if (size == 0)
            return;
        T* fresh = static_cast<T*>(std::malloc(size_t(size) * sizeof(T)));
        if (fresh == nullptr)
            throw std::bad_alloc();
        if (from != nullptr)
            std::memcpy(fresh, from, size_t(size) * sizeof(T));
        data_ = fresh;
        size_ = size;
    }

    T* data_ = nullptr;  // C heap; none while the size is 0
    uint32_t size_ = 0;
};
