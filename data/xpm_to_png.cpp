// Turns the window icon's XPM source into the PNG the program loads, at build time.
//   xpm_to_png IN.xpm OUT.png
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.xpm OUT.png\n", argv[0]);
    return 2;
  }
  GError* error = nullptr;
  GdkPixbuf* picture = gdk_pixbuf_new_from_file(argv[1], &error);
  const bool saved =
      picture != nullptr && gdk_pixbuf_save(picture, argv[2], "png", &error, nullptr);
  if (picture != nullptr) g_object_unref(picture);
  if (!saved) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error->message);
    g_error_free(error);
    return 1;
  }
  return 0;
}
