#pragma once
// One PNG showing every picture on neutral grey, for reviewing the art.

#include <string>
#include <vector>

#include "canvas.h"

struct SheetEntry {
    int id;
    Image image;
};

bool writeContactSheet(const std::string& path, const std::vector<SheetEntry>& entries);
