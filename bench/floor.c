/* The floor of a run: what any implementation must do at least. Reads the
 * file with the libcups file interface, opens it with ppdOpenFile, closes it
 * and writes the bytes to standard output. Nothing else. */
#include <cups/file.h>
#include <cups/ppd.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv) {
  if (argc < 3) return 2;
  cups_file_t *file = cupsFileOpen(argv[2], "r");
  if (file == NULL) return 1;
  size_t size = 0, capacity = 65536;
  char *bytes = malloc(capacity);
  ssize_t n;
  while (bytes != NULL && (n = cupsFileRead(file, bytes + size, capacity - size)) > 0) {
    size += (size_t)n;
    if (size == capacity) {
      char *grown = realloc(bytes, capacity *= 2);
      if (grown == NULL) free(bytes);
      bytes = grown;
    }
  }
  cupsFileClose(file);
  if (bytes == NULL) return 1;
  ppd_file_t *ppd = ppdOpenFile(argv[2]);
  if (ppd != NULL) ppdClose(ppd);
  fwrite(bytes, 1, size, stdout);
  putchar('\n');
  free(bytes);
  return 0;
}
