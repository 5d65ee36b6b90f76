#pragma once

#include "widgets/window_list.h"

#include <functional>

// The pictures (icon, splash) are compiled into the window library; a static library's
// resources must be registered by name, or the linker leaves them out.
void RegisterProgramPictures();

class JournalPreload;

// Creates the windows, connects them to each other and starts the session monitor last.
// The journal window takes the journal from `preload` when it was read there.
void CreateWindows(JournalPreload* preload = nullptr);
// Destroys the windows in reverse order; the journal window appends a session still counted.
void DestroyWindows();

// Ends the program: closes the mini window, which saves the settings and leaves the event
// loop. Tests replace what "leave the event loop" does.
void EndProgram();
void SetProgramExitHandler(std::function<void()> handler);
void RunProgramExitHandler();
