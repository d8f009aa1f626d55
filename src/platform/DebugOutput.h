#pragma once
// Stands in for the platform's debugger output: standard error, or a sink in tests.
#include <functional>
#include <string>

void DebugOutput(const std::string& strLine);
// nullptr-like empty function restores standard error.
void SetDebugOutputSink(std::function<void(const std::string&)> fnSink);
