// The process's global keys. They are registered with RegisterHotKey, which
// still works over elevated windows and in games where a keyboard hook goes
// blind, on a message-only window of the bar thread of one pager: the first
// that has a site. When that pager goes, the next live one takes them over;
// with the last one every key is unregistered.
#pragma once

#include <windows.h>

class CPagerPlugin;
class CKeyRegistrar;

// On the pager's own thread: takes the keys when no pager holds them.
void ClaimHotKeys(CPagerPlugin* pager);
// On the pager's own thread, once it has left the live pagers: its keys go
// to the next live pager, which takes them over on its own thread.
void ReleaseHotKeys(CPagerPlugin* pager);
// For the keys dialog: which keys are taken, and new keys registered at once.
CKeyRegistrar& HotKeyRegistrar();
// When the module unloads: a class must not outlive its window procedure.
void UnregisterHotKeyClass(HINSTANCE instance);
