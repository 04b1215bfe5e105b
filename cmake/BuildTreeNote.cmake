# SPDX-License-Identifier: MIT
# rubicel_write_build_tree_notes(): beside every program of the build tree, the
# note that src/common/data_path.h reads (kBuildTreeNoteName), naming the build
# tree's shipped files and modules. The programs themselves hold no build path:
# installing copies them without the note, so an installed program never looks
# into the tree it was built in.

# Appends to the list named out the folders that the executables of dir and of
# the folders below it are written to.
function(rubicel_program_folders dir out)
  set(found ${${out}})
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
      if(NOT folder)
        get_target_property(folder ${target} BINARY_DIR)
      endif()
      list(APPEND found ${folder})
    endif()
  endforeach()
  get_property(below DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS below)
    rubicel_program_folders(${sub} found)
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(rubicel_write_build_tree_notes)
  set(folders)
  rubicel_program_folders(${PROJECT_SOURCE_DIR} folders)
  list(REMOVE_DUPLICATES folders)
  foreach(folder IN LISTS folders)
    file(GENERATE OUTPUT ${folder}/rubicel-build-tree.txt
      CONTENT "data=${RUBICEL_DATA_BUILD_DIR}\nmodules=${RUBICEL_MODULE_BUILD_DIR}\n")
  endforeach()
endfunction()
