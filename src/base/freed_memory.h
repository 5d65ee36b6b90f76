#pragma once

// Hands the pages of freed heap memory back to the system. The C library otherwise keeps them
// for later allocations, which a program living all day in the notification area never makes
// after its start-up.
void ReturnFreedMemoryToSystem();
