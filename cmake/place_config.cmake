# Puts the example configuration beside the programs without undoing a user's changes.
#   cmake -DEXAMPLE=examples/velmorta.cfg -DDEST=<dir>/velmorta.cfg -DSTAMP=<file> -P place_config.cmake
# DEST is written when it is missing or still holds the example placed last time (STAMP,
# a copy kept of it); a DEST that differs from both was changed by its user and is kept,
# louder when the example is new. STAMP then holds the new example. The build and the
# install both use it.

cmake_minimum_required(VERSION 3.20)

foreach(variable EXAMPLE DEST STAMP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "place_config.cmake needs -D${variable}=...")
  endif()
endforeach()

function(velmorta_same_file a b result)
  set(${result} FALSE PARENT_SCOPE)
  if(EXISTS "${a}" AND EXISTS "${b}")
    file(SHA256 "${a}" hash_a)
    file(SHA256 "${b}" hash_b)
    if(hash_a STREQUAL hash_b)
      set(${result} TRUE PARENT_SCOPE)
    endif()
  endif()
endfunction()

function(velmorta_copy from to)
  get_filename_component(directory "${to}" DIRECTORY)
  file(MAKE_DIRECTORY "${directory}")
  # configure_file COPYONLY keeps the bytes (CR LF, Shift-JIS) as they are.
  configure_file("${from}" "${to}" COPYONLY)
endfunction()

velmorta_same_file("${DEST}" "${EXAMPLE}" current)
velmorta_same_file("${DEST}" "${STAMP}" unchanged)
velmorta_same_file("${STAMP}" "${EXAMPLE}" seen)
if(NOT EXISTS "${DEST}")
  velmorta_copy("${EXAMPLE}" "${DEST}")
  message(STATUS "velmorta.cfg: copied the example ${EXAMPLE} to ${DEST}")
elseif(current)
  # Already the example: nothing to do.
elseif(unchanged)
  velmorta_copy("${EXAMPLE}" "${DEST}")
  message(STATUS "velmorta.cfg: ${DEST} was the previous example, unchanged: replaced by the new example ${EXAMPLE}")
elseif(NOT seen)
  message(NOTICE "velmorta.cfg: kept ${DEST}: it differs from the example copied before, so it "
                 "was changed. The example ${EXAMPLE} is new: compare the two (diff) and take "
                 "over what you need, or delete ${DEST} to get the example.")
else()
  message(STATUS "velmorta.cfg: kept ${DEST}, changed by its user")
endif()
if(NOT seen)
  velmorta_copy("${EXAMPLE}" "${STAMP}")
endif()
