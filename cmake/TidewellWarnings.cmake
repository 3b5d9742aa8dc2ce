# Warnings are errors in every configuration.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor)

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # One self-contained .exe per program: no mingw runtime DLLs to ship or to
  # find under Wine.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(TIDEWELL_SANITIZE)
  add_compile_options(-fsanitize=${TIDEWELL_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TIDEWELL_SANITIZE})
endif()
