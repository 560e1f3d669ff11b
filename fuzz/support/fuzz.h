// Shared by the fuzz targets: set-up, the failure report and files made from the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Readies the heap and caps single requests, so that a size read from the input is refused by the heap's
// own limit (as a machine's memory would refuse it) rather than stopping the fuzzer for memory use.
void FuzzSetUp();

// Stops the run as a crash, naming the broken expectation, when ok is false.
void FuzzCheck(bool ok, const char *what);

// Writes the bytes to a file of that name in the process's own temporary folder and returns its path.
std::string FuzzWriteFile(const char *name, const uint8_t *data, size_t size);

// The same file opened read-write through the file layer, at position 0: a stored form for a reader, or an
// empty file (no bytes) to write a form into.
int FuzzOpenBytes(const char *name, const uint8_t *data, size_t size);
