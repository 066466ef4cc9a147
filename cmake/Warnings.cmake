# Warnings for the project's own code, treated as errors. Third-party headers (Qt, FFmpeg,
# GoogleTest) are system includes, so they never trip these.
add_library(celwright_warnings INTERFACE)
target_compile_options(celwright_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Wimplicit-fallthrough -Werror)
