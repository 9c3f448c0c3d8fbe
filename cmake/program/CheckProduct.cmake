cmake_minimum_required(VERSION 3.25)
# Checks the shipped program file: a PE32 GUI executable for i386 that
# carries the version record and the two-size icon.
#   cmake -DPROGRAM=<path of the .scr> -P CheckProduct.cmake

if(NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "no program at ${PROGRAM}")
endif()

# A little-endian number of SIZE bytes at OFFSET.
function(read_number offset size out)
  file(READ "${PROGRAM}" hex OFFSET ${offset} LIMIT ${size} HEX)
  string(REGEX REPLACE "(..)" "\\1;" bytes "${hex}")
  list(REVERSE bytes)
  string(REPLACE ";" "" hex "${bytes}")
  math(EXPR value "0x${hex}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: ${actual}, expected ${expected}")
  endif()
  message(STATUS "${what}: ${actual}")
endfunction()

read_number(0 2 dos_magic)
expect("DOS header" ${dos_magic} 23117)  # "MZ"
read_number(60 4 pe_at)
read_number(${pe_at} 4 pe_signature)
expect("PE signature" ${pe_signature} 17744)  # "PE\0\0"
math(EXPR at "${pe_at} + 4")
read_number(${at} 2 machine)
expect("machine (0x14c is i386)" ${machine} 332)
math(EXPR at "${pe_at} + 24")
read_number(${at} 2 optional_magic)
expect("optional header (0x10b is PE32)" ${optional_magic} 267)
math(EXPR at "${pe_at} + 24 + 68")
read_number(${at} 2 subsystem)
expect("subsystem (2 is the Windows GUI)" ${subsystem} 2)

file(READ "${PROGRAM}" program_hex HEX)

# The hex of a text in UTF-16LE, as the version record keeps its texts.
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} ${hex} PARENT_SCOPE)
endfunction()

function(expect_hex what pattern)
  string(REGEX MATCH "${pattern}" found "${program_hex}")
  if(NOT found)
    message(FATAL_ERROR "missing: ${what}")
  endif()
  message(STATUS "found: ${what}")
endfunction()

# Fixed part: signature, structure version, file and product version 3.5.0.0.
expect_hex("numeric version 3.5.0.0" "bd04effe0000010005000300000000000500030000000000")

# Each text pair: the key, its closing zero, padding to 32 bits, the value.
foreach(pair
    "CompanyName=Tesmar Games"
    "FileDescription=Tesmar Flash Screen Saver"
    "FileVersion=3.05"
    "InternalName=Tesmar Flash Screen Saver"
    "OriginalFilename=Tesmar Flash Screen Saver.scr"
    "ProductName=Tesmar Flash Screen Saver"
    "ProductVersion=3.05")
  string(REGEX MATCH "^([^=]*)=(.*)$" _ "${pair}")
  utf16_hex("${CMAKE_MATCH_1}" key)
  utf16_hex("${CMAKE_MATCH_2}" value)
  expect_hex("${pair}" "${key}0000(0000)?${value}0000")
endforeach()
utf16_hex("040904B0" table)
expect_hex("string table 040904B0" "${table}0000")
utf16_hex("Translation" translation)
expect_hex("translation 0409 04B0" "${translation}0000(0000)?0904b004")

# The icon group: two 256-colour images, 16x16 and 32x32 (each entry has
# twelve hex digits of size and number that vary).
string(REPEAT "[0-9a-f]" 12 twelve_digits)
expect_hex("icon group 16x16 and 32x32 in 256 colours"
  "0000010002001010000001000800${twelve_digits}2020000001000800")
