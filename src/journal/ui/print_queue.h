#pragma once

class QPrinter;
class QWidget;

// Whether the printer chosen in the print dialog can take the job: a CUPS queue that refuses
// jobs would drop it without a word, so the user is told and nothing is sent (false). A
// stopped queue keeps the job until it is started again; the user is told that once the job
// is sent.
bool PrintQueueTakesJobs(const QPrinter& printer, QWidget* parent);
void TellIfPrintQueueIsStopped(const QPrinter& printer, QWidget* parent);
