#pragma once

#include <curl/curl.h>

// libcurl, loaded the first time the program talks to a server rather than when it starts:
// linked in, it and the libraries it brings (TLS, LDAP, SSH, Kerberos...) took some five
// megabytes of every run's memory for a tariff update made now and then.
struct CurlLibrary {
    CURLcode (*global_init)(long flags);
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL* handle, CURLoption option, ...);
    CURLcode (*easy_getinfo)(CURL* handle, CURLINFO info, ...);
    CURLcode (*easy_perform)(CURL* handle);
    void (*easy_reset)(CURL* handle);
    void (*easy_cleanup)(CURL* handle);
};

// The library, loaded on the first call from any thread. When it cannot be loaded, every call
// fails with CURLE_FAILED_INIT, easy_init gives no handle and the others do nothing.
const CurlLibrary& Curl();
