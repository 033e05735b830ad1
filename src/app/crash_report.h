// The compressed report left behind when the program dies of an unhandled exception.
#pragma once

void GenerateCrashReport();
