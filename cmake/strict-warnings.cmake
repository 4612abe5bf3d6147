# The warnings Pellox's own code is built with, on top of the -Wall -Wextra
# that every target gets (GoogleTest's included).
#
# pellox_strict_warnings() adds them to the folder it is called in and to
# the folders added from it afterwards. Each folder of our code calls it;
# none calls it above third-party code: tests/CMakeLists.txt calls it after
# adding the cross build's GoogleTest sources, which keep their own flags.
#
# With PELLOX_WERROR every warning in our code fails the build. The test
# command turns it on; it is off by default so that a newer compiler's new
# warnings do not stop a user's build.
option(PELLOX_WERROR "Treat the warnings in Pellox's own code as errors" OFF)

function(pellox_strict_warnings)
  add_compile_options(-Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
                      -Wnon-virtual-dtor -Woverloaded-virtual)
  if(PELLOX_WERROR)
    add_compile_options(-Werror)
  endif()
endfunction()
