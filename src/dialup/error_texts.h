#pragma once

#include <QString>

// French descriptions of the dial-up service's error codes (600 and above); empty for a code
// the service does not describe.
QString RasErrorDescription(int code);
// The operating system's message for the codes below 600 the dial-up parts meet; empty when
// there is none.
QString SystemMessageText(int code);
