#pragma once
// The wait cursor around exchanges with the logger. Core code shows and
// restores it through this seam; the UI installs a sink that sets the
// application's override cursor. Calls nest: the arrow returns when every
// show has been matched by a restore.

class CursorSink {
public:
    virtual ~CursorSink() = default;
    virtual void SetWaitCursor(bool wait) = 0;
};

CursorSink* SetCursorSink(CursorSink* sink);

void ShowWaitCursor();
void RestoreCursor();
// How many shows are still unmatched (0: the arrow is shown).
int WaitCursorDepth();

class WaitCursorGuard {
public:
    WaitCursorGuard() { ShowWaitCursor(); }
    ~WaitCursorGuard() { if (active_) RestoreCursor(); }
    // Restores the arrow before the end of the scope (e.g. before a message).
    void Restore() { if (active_) { active_ = false; RestoreCursor(); } }
    WaitCursorGuard(const WaitCursorGuard&) = delete;
    WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
private:
    bool active_ = true;
};
