#pragma once

#include <functional>

class TMiniWin;
class TPassword;
class TVisualAlert;
class TForm1;
class TJournal;
class TAboutBox;
class TChoixConn;

// The program's windows: created once at start in this order and kept until the end.
extern TMiniWin* MiniWin;
extern TPassword* Password;
extern TVisualAlert* VisualAlert;
extern TForm1* Form1;
extern TJournal* Journal;
extern TAboutBox* AboutBox;
extern TChoixConn* ChoixConn;

// The pictures (icon, splash) are compiled into the window library; a static library's
// resources must be registered by name, or the linker leaves them out.
void RegisterProgramPictures();

void CreateWindows();
// Destroys the windows in reverse order; the journal window appends a session still counted.
void DestroyWindows();

// Ends the program: closes the mini window, which saves the settings and leaves the event
// loop. Tests replace what "leave the event loop" does.
void EndProgram();
void SetProgramExitHandler(std::function<void()> handler);
void RunProgramExitHandler();
