// CArray<T, ARG>: the framework's growable array. The second parameter is the argument type of
// the adding operations, kept for the familiar spelling `CArray<stError, stError>`.
#pragma once

#include "Modelo/base/CString.h"

#include <stdexcept>
#include <vector>

template <class T, class ARG = const T&> class CArray {
public:
    int GetSize() const { return int(items_.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return items_.empty(); }

    int Add(ARG item) {
        items_.push_back(item);
        return GetUpperBound();
    }
    void SetSize(int size) { items_.resize(size > 0 ? size_t(size) : 0); }
    void RemoveAll() { items_.clear(); }
    void RemoveAt(int index, int count = 1) {
        check(index);
        check(index + count - 1);
        items_.erase(items_.begin() + index, items_.begin() + index + count);
    }
    void InsertAt(int index, ARG item) {
        if (index < 0 || index > GetSize())
            throw std::out_of_range("CArray::InsertAt");
        items_.insert(items_.begin() + index, item);
    }
    void Append(const CArray& other) {
        items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    }

    const T& GetAt(int index) const { return items_[check(index)]; }
    T& ElementAt(int index) { return items_[check(index)]; }
    void SetAt(int index, ARG item) { items_[check(index)] = item; }
    T& operator[](int index) { return ElementAt(index); }
    const T& operator[](int index) const { return GetAt(index); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    void Reserve(int n) { items_.reserve(size_t(n > 0 ? n : 0)); }

    friend bool operator==(const CArray& a, const CArray& b) { return a.items_ == b.items_; }

private:
    // Out-of-range access is a programming error; it throws instead of reading stray memory.
    size_t check(int index) const {
        if (index < 0 || index >= GetSize())
            throw std::out_of_range("CArray index");
        return size_t(index);
    }
    std::vector<T> items_;
};

using CStringArray = CArray<CString, CString>;
