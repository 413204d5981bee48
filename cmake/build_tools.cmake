# The tools the build runs (the image compiler, the packer, the icon drawer, ...). By default the build
# runs the ones it builds, through CMAKE_CROSSCOMPILING_EMULATOR in a cross build. A cross build can
# instead run a native build tree's: -DBRINDLE_HOST_TOOLS_DIR=build takes each tool from the same place
# in that tree as here. That tree is not rebuilt from here: build its tools first (scripts/cross-build.sh
# does); a tool missing there stops the build with its path.
set(BRINDLE_HOST_TOOLS_DIR "" CACHE PATH "Native build tree whose build-time tools a cross build runs")

# Sets var to what a custom command names as COMMAND and DEPENDS to run target.
function(brindle_build_tool var target)
  if(BRINDLE_HOST_TOOLS_DIR)
    get_filename_component(tree ${BRINDLE_HOST_TOOLS_DIR} ABSOLUTE)
    set(${var} ${tree}/$<PATH:RELATIVE_PATH,$<TARGET_FILE:${target}>,${CMAKE_BINARY_DIR}> PARENT_SCOPE)
  else()
    set(${var} ${target} PARENT_SCOPE)
  endif()
endfunction()
