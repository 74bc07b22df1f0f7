// Bounds-checked containers. A bad index is reported ("err V[%d] ( %d , %d )"
// or "err L[%d] ( %d , %d )" with index, element count and element size) to
// the debug log and the report, ends the program through the quit flag, and
// the caller gets element 0 (or a fallback element kept for the purpose when
// there is none) so that it can go on until the frame loop stops.
#pragma once
#include <iterator>
#include <list>
#include <string>
#include <vector>

void ReportBadIndex(const char* kind, long long index, long long count, long long elemSize);

template <class T>
class cCheckedVector : public std::vector<T> {
public:
    using std::vector<T>::vector;
    cCheckedVector() = default;
    cCheckedVector(const std::vector<T>& v) : std::vector<T>(v) {}
    cCheckedVector(std::vector<T>&& v) : std::vector<T>(std::move(v)) {}

    T& at(long long index) {
        if (index >= 0 && index < static_cast<long long>(this->size())) return (*this)[index];
        ReportBadIndex("V", index, static_cast<long long>(this->size()), sizeof(T));
        if (!this->empty()) return (*this)[0];
        return Fallback();
    }
    const T& at(long long index) const { return const_cast<cCheckedVector*>(this)->at(index); }

    // Sets every element through the checked access.
    void Fill(const T& value) {
        for (long long i = 0; i < static_cast<long long>(this->size()); ++i) at(i) = value;
    }

private:
    static T& Fallback() {
        static T fallback{};
        fallback = T{};
        return fallback;
    }
};

template <class T>
class cCheckedList : public std::list<T> {
public:
    using std::list<T>::list;

    T& at(long long index) {
        if (index >= 0 && index < static_cast<long long>(this->size())) {
            auto it = this->begin();
            std::advance(it, index);
            return *it;
        }
        ReportBadIndex("L", index, static_cast<long long>(this->size()), sizeof(T));
        static T fallback{};
        return fallback;
    }

    // Inserts a copy so that it becomes the element at index; any other index
    // (at or past the end, or negative) appends.
    void InsertAt(long long index, const T& value) {
        if (index == 0) {
            this->push_front(value);
        } else if (index < static_cast<long long>(this->size())) {
            auto it = this->begin();
            std::advance(it, index);
            this->insert(it, value);
        } else {
            this->push_back(value);
        }
    }
};
