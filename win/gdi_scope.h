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

// A solid pen that lives for one scope.
class CSolidPen
{
public:
    CSolidPen(int width, COLORREF colour) : pen(CreatePen(PS_SOLID, width, colour)) {}
    ~CSolidPen()
    {
        if (pen)
            DeleteObject(pen);
    }
    CSolidPen(const CSolidPen&) = delete;
    CSolidPen& operator=(const CSolidPen&) = delete;

    HPEN handle() const { return pen; }

private:
    HPEN pen;
};

// A window's device context (GetDC) for one scope.
class CWindowDC
{
public:
    explicit CWindowDC(HWND hwnd) : window(hwnd), dc(GetDC(hwnd)) {}
    ~CWindowDC()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    HDC handle() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// BeginPaint and EndPaint around one scope.
class CPaintScope
{
public:
    explicit CPaintScope(HWND hwnd) : window(hwnd) { dc = BeginPaint(hwnd, &paint); }
    ~CPaintScope() { EndPaint(window, &paint); }
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;

    HDC handle() const { return dc; }

private:
    HWND window;
    HDC dc;
    PAINTSTRUCT paint;
};
