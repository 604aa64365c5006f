// Scoped GDI helpers: whatever a drawing routine selects, creates or obtains
// is given back when the scope ends, so each release is plain to see.
// Declare a created object before the selection that uses it: the selection
// is then undone first and the object is deleted while no context holds it.
#pragma once

#include <windows.h>

// Selects an object into a device context and the previous one back on leaving.
// A null object selects nothing, so drawing goes on with what the context holds.
class CSelectedObject
{
public:
    CSelectedObject(HDC hdc, HGDIOBJ object)
        : dc(hdc), previous(object ? SelectObject(hdc, object) : NULL)
    {
    }
    ~CSelectedObject()
    {
        if (previous)
            SelectObject(dc, previous);
    }
    CSelectedObject(const CSelectedObject&) = delete;
    CSelectedObject& operator=(const CSelectedObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A solid brush that lives for one scope.
class CSolidBrush
{
public:
    explicit CSolidBrush(COLORREF colour) : brush(CreateSolidBrush(colour)) {}
    ~CSolidBrush()
    {
        if (brush)
            DeleteObject(brush);
    }
    CSolidBrush(const CSolidBrush&) = delete;
    CSolidBrush& operator=(const CSolidBrush&) = delete;

    HBRUSH handle() const { return brush; }

private:
    HBRUSH brush;
};

// The screen's device context for one scope.
class CScreenDC
{
public:
    CScreenDC() : dc(GetDC(NULL)) {}
    ~CScreenDC()
    {
        if (dc)
            ReleaseDC(NULL, dc);
    }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;

    HDC handle() const { return dc; }

private:
    HDC dc;
};
