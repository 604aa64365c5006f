// A list of fixed capacity that keeps what fits and counts what it had to
// leave out, so that a caller can tell a full list from a complete one.
#pragma once

template <typename T>
class CBoundedSpan
{
public:
    // False when the list was full and `item` was left out.
    bool Add(const T& item)
    {
        if (count < capacity)
        {
            items[count++] = item;
            return true;
        }
        ++dropped;
        return false;
    }
    bool Contains(const T& item) const
    {
        for (int i = 0; i < count; ++i)
        {
            if (items[i] == item)
                return true;
        }
        return false;
    }
    // Keeps the order of the others.
    void RemoveAt(int i)
    {
        for (--count; i < count; ++i)
            items[i] = items[i + 1];
    }
    void Clear() { count = dropped = 0; }
    int Count() const { return count; }
    int Dropped() const { return dropped; }
    bool Full() const { return count == capacity; }
    const T& operator[](int i) const { return items[i]; }
    T& operator[](int i) { return items[i]; }
    const T* Items() const { return items; }

protected:
    CBoundedSpan(T* store, int size) : items(store), capacity(size), count(0), dropped(0) {}
    CBoundedSpan(const CBoundedSpan&) = delete;
    CBoundedSpan& operator=(const CBoundedSpan&) = delete;

private:
    T* items;
    int capacity;
    int count;
    int dropped;
};

template <typename T, int kCapacity>
class CBoundedList : public CBoundedSpan<T>
{
public:
    CBoundedList() : CBoundedSpan<T>(store, kCapacity) {}

private:
    T store[kCapacity];
};
