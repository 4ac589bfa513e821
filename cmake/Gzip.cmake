# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DINPUT=<file> -DOUTPUT=<file.gz> -P Gzip.cmake
# Compresses the way Debian wants documentation compressed: best compression and no name or
# time stamp in the header, so that the same input always gives the same bytes.
execute_process(COMMAND gzip -9n -c "${INPUT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "gzip could not compress ${INPUT}: ${status}")
endif()
