# One place for the compile settings every target shares.
add_library(lumetra_settings INTERFACE)
target_compile_features(lumetra_settings INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(lumetra_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(LUMETRA_WERROR)
  target_compile_options(lumetra_settings INTERFACE -Werror)
endif()

if(LUMETRA_SANITIZE STREQUAL "address+undefined")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(LUMETRA_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT LUMETRA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "Unknown LUMETRA_SANITIZE value: ${LUMETRA_SANITIZE}")
endif()

if(LUMETRA_FUZZ)
  # Coverage for every library the fuzz targets link; the targets add -fsanitize=fuzzer themselves.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
