# Warnings and sanitizers shared by every target of the project.
add_library(transzendal_options INTERFACE)
target_compile_options(transzendal_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                       -Wconversion -Wsign-conversion -Wnon-virtual-dtor)
if(TRANSZENDAL_WERROR)
  target_compile_options(transzendal_options INTERFACE -Werror)
endif()
if(TRANSZENDAL_SANITIZE)
  target_compile_options(transzendal_options INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(transzendal_options INTERFACE -fsanitize=address,undefined)
endif()
