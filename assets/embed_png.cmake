# Script mode: writes OUTPUT, a C++ source that defines one byte array per
# file in INPUTS (a ;-list), named after the file with '.' turned into '_'.
set(source "// Generated from the PNG files under assets/; do not edit.\n")
string(APPEND source "#include \"builtin_image_data.h\"\n")
string(REPEAT "[0-9a-f]" 32 line_of_digits)
foreach(input IN LISTS INPUTS)
  get_filename_component(name ${input} NAME)
  string(MAKE_C_IDENTIFIER ${name} symbol)
  file(READ ${input} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # Sixteen bytes to a line, each as 0xNN.
  string(REGEX REPLACE "(${line_of_digits})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND source
    "\nextern const unsigned char ${symbol}[] = {\n${bytes}\n};\n"
    "extern const size_t ${symbol}_size = ${size};\n")
endforeach()
# Written whole and then renamed, so an interrupted build leaves no half file.
file(WRITE ${OUTPUT}.tmp "${source}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
