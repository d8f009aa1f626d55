#include "platform/DebugOutput.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_mtx;
std::function<void(const std::string&)> g_fnSink;
} // namespace

void DebugOutput(const std::string& strLine) {
    std::lock_guard<std::mutex> lock(g_mtx);
    if (g_fnSink) {
        g_fnSink(strLine);
        return;
    }
    fprintf(stderr, "%s\n", strLine.c_str());
}

void SetDebugOutputSink(std::function<void(const std::string&)> fnSink) {
    std::lock_guard<std::mutex> lock(g_mtx);
    g_fnSink = std::move(fnSink);
}
