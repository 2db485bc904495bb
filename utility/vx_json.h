#pragma once
// The JSON value, reader and writer classes are part of the library's
// interface: hosts use them through this header.
#include <json/json.h>
