# What keeps two builds of one commit bit for bit alike, wherever and
# whenever they run: the paths in debug information and __FILE__ leave out
# the folders of the sources and the build (below); __DATE__ and __TIME__
# are warned about (-Wdate-time, an error with PELLOX_WERROR); pellox.exe's
# PE header carries no link time (its time stamp is 0). scripts/package.sh clamps the packages' file times to
# SOURCE_DATE_EPOCH; scripts/test-packages.sh builds the packages twice and
# compares them. Included by each project of ours after its project().
#
# The source folder is recorded as ".", a generated file in the build
# folder by its path inside that folder ("src/..."), and the build folder
# itself, where the compiler runs, as "build". A compiler cache may hand the
# compiler these paths relative to the build folder instead (ccache with
# CCACHE_BASEDIR: "../../src/..." and "src/..."); the maps record both forms
# alike. GCC takes the last map that matches.
get_filename_component(pellox_source_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(RELATIVE_PATH pellox_source_from_build ${CMAKE_BINARY_DIR} ${pellox_source_root})
string(REGEX REPLACE "/$" "" pellox_source_from_build "${pellox_source_from_build}")
if(pellox_source_from_build)
  add_compile_options(-ffile-prefix-map=${pellox_source_from_build}=.)
endif()
add_compile_options(-ffile-prefix-map=${pellox_source_root}=.
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}=build
                    -ffile-prefix-map=${CMAKE_BINARY_DIR}/= -Wdate-time)
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
