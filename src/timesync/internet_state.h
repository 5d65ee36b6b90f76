#pragma once

#include <QString>

// Whether the machine has a default route (IPv4 or IPv6), read from the kernel's routing tables.
bool HasDefaultRoute();

// Tests point the routing tables at files of their own (empty texts restore the kernel's).
void SetRouteTableFiles(const QString& ipv4, const QString& ipv6);
