#pragma once
// A runtime directory of its own for a test or benchmark process: links to the built pictures,
// sounds and font, and an empty score/, so no player's score table is ever touched. Plain C++,
// shared by the fast suites and the frame benchmarks.

#include <string>

// Makes a fresh one below /tmp and changes into it; its path, or "" when that failed.
std::string EnterFreshRuntimeDir();

// Leaves the directory and deletes it with everything in it.
void RemoveRuntimeDir(const std::string& strDir);
