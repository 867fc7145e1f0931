// Stands in for the program a file type opens with: writes the file it was
// handed and its own current directory, one a line, to the log named first.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, directory);
  std::FILE* log = std::fopen(argv[1], "wb");
  if (!log) return 1;
  std::fprintf(log, "%s\n%s\n", argv[2], directory);
  std::fclose(log);
  return 0;
}
