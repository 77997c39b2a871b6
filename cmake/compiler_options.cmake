# Warnings and sanitizers shared by every target of the project.
add_library(transzendal_options INTERFACE)
target_compile_options(transzendal_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                       -Wconversion -Wsign-conversion -Wnon-virtual-dtor)
# GCC 12 optimising (-O2 and above) warns of overlapping copies inside std::string's own
# operator+ where there are none (GCC bug 105329, fixed in GCC 13): the warning would fail every
# optimised build on Debian 12's compilers, native and MinGW alike.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(transzendal_options INTERFACE -Wno-restrict)
endif()
if(TRANSZENDAL_WERROR)
  target_compile_options(transzendal_options INTERFACE -Werror)
endif()
if(TRANSZENDAL_SANITIZE)
  target_compile_options(transzendal_options INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(transzendal_options INTERFACE -fsanitize=address,undefined)
endif()
