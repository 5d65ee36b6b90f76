#pragma once

class TMiniWin;
class TPassword;
class TVisualAlert;
class TForm1;
class TJournal;
class TAboutBox;
class TChoixConn;

// The program's windows: created once at start in this order and kept until the end
// (src/app/ui/windows.cpp creates them and connects them to each other).
extern TMiniWin* MiniWin;
extern TPassword* Password;
extern TVisualAlert* VisualAlert;
extern TForm1* Form1;
extern TJournal* Journal;
extern TAboutBox* AboutBox;
extern TChoixConn* ChoixConn;
