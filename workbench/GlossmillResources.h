#pragma once

// Registers the pictures of resources.qrc. The workbench is a static library, so its resources reach the
// program only through this call; it is safe to call more than once.
void InitGlossmillResources();
