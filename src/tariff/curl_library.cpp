#include "tariff/curl_library.h"

#include "base/log.h"

#include <dlfcn.h>

namespace {
CURLcode FailedGlobalInit(long) {
    return CURLE_FAILED_INIT;
}
CURL* NoHandle() {
    return nullptr;
}
CURLcode FailedOption(CURL*, CURLoption, ...) {
    return CURLE_FAILED_INIT;
}
CURLcode FailedInfo(CURL*, CURLINFO, ...) {
    return CURLE_FAILED_INIT;
}
CURLcode FailedPerform(CURL*) {
    return CURLE_FAILED_INIT;
}
void NoReset(CURL*) {}

template <typename Function> bool Resolve(void* library, const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(dlsym(library, name));
    return function != nullptr;
}

CurlLibrary Load() {
    const CurlLibrary failing{FailedGlobalInit, NoHandle, FailedOption, FailedInfo,
                              FailedPerform,    NoReset,  NoReset};
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        qCWarning(logFiles).noquote() << "libcurl not loaded:" << dlerror();
        return failing;
    }
    CurlLibrary curl{};
    if (Resolve(library, "curl_global_init", curl.global_init) &&
        Resolve(library, "curl_easy_init", curl.easy_init) &&
        Resolve(library, "curl_easy_setopt", curl.easy_setopt) &&
        Resolve(library, "curl_easy_getinfo", curl.easy_getinfo) &&
        Resolve(library, "curl_easy_perform", curl.easy_perform) &&
        Resolve(library, "curl_easy_reset", curl.easy_reset) &&
        Resolve(library, "curl_easy_cleanup", curl.easy_cleanup))
        return curl; // kept loaded for the rest of the run
    qCWarning(logFiles) << "libcurl lacks a function the program uses";
    dlclose(library);
    return failing;
}
} // namespace

const CurlLibrary& Curl() {
    static const CurlLibrary library = Load();
    return library;
}
