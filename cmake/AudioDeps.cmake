# The audio decoding libraries as imported targets:
#   AudioDeps::mpg123      libmpg123 (MP3)
#   AudioDeps::vorbisfile  libvorbisfile with libvorbis and libogg (Ogg Vorbis)
#   AudioDeps::flac        libFLAC, the C interface
#   AudioDeps::xmp         libxmp (MOD, S3M, XM, IT)
#   AudioDeps::speex       libspeex with libogg (Speex in Ogg)
#   AudioDeps::ogg         libogg alone
#   AudioDeps::all         all of the above
# Natively they come from Debian's -dev packages through pkg-config. For the
# Windows targets they are the static builds that scripts/build-mingw-deps.sh
# leaves in ${MENUHOST_MINGW_DEPS:-$HOME/.cache/menuhost/mingw-deps}/<triple>,
# linked into the programs so that no DLL has to travel with them.
# The targets are global, so that tests in other folders can link them too.
include_guard(GLOBAL)

function(_audiodeps_interface name)
  add_library(AudioDeps::${name} INTERFACE IMPORTED GLOBAL)
  target_link_libraries(AudioDeps::${name} INTERFACE ${ARGN})
endfunction()

if(WIN32)
  # The compiler names its target; the processor is the fallback for a
  # compiler that does not answer, such as one behind a launcher script.
  set(_audiodeps_compiler "${CMAKE_C_COMPILER}")
  if(NOT _audiodeps_compiler)
    set(_audiodeps_compiler "${CMAKE_CXX_COMPILER}")
  endif()
  execute_process(COMMAND "${_audiodeps_compiler}" -dumpmachine
    OUTPUT_VARIABLE _audiodeps_triple OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _audiodeps_rc ERROR_QUIET)
  if(NOT _audiodeps_rc EQUAL 0 OR NOT _audiodeps_triple MATCHES "mingw32$")
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
      set(_audiodeps_triple x86_64-w64-mingw32)
    elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86|X86)$")
      set(_audiodeps_triple i686-w64-mingw32)
    else()
      message(FATAL_ERROR "AudioDeps: no MinGW target known for processor '${CMAKE_SYSTEM_PROCESSOR}'")
    endif()
  endif()

  if(DEFINED ENV{MENUHOST_MINGW_DEPS})
    set(_audiodeps_root "$ENV{MENUHOST_MINGW_DEPS}")
  else()
    set(_audiodeps_root "$ENV{HOME}/.cache/menuhost/mingw-deps")
  endif()
  set(AUDIODEPS_PREFIX "${_audiodeps_root}/${_audiodeps_triple}" CACHE PATH
    "Prefix of the static audio libraries for this Windows target (made by scripts/build-mingw-deps.sh)")

  set(_audiodeps_libs ogg vorbis vorbisfile FLAC mpg123 xmp speex)
  set(_audiodeps_missing "")
  foreach(lib IN LISTS _audiodeps_libs)
    if(NOT EXISTS "${AUDIODEPS_PREFIX}/lib/lib${lib}.a")
      list(APPEND _audiodeps_missing "lib${lib}.a")
    endif()
  endforeach()
  foreach(header ogg/ogg.h vorbis/vorbisfile.h FLAC/stream_decoder.h mpg123.h xmp.h speex/speex.h)
    if(NOT EXISTS "${AUDIODEPS_PREFIX}/include/${header}")
      list(APPEND _audiodeps_missing "${header}")
    endif()
  endforeach()
  if(_audiodeps_missing)
    list(JOIN _audiodeps_missing ", " _audiodeps_missing)
    message(FATAL_ERROR "AudioDeps: the static audio libraries for ${_audiodeps_triple} are "
      "missing from ${AUDIODEPS_PREFIX} (${_audiodeps_missing}). "
      "Build them with scripts/build-mingw-deps.sh (scripts/install-deps.sh runs it).")
  endif()

  foreach(lib IN LISTS _audiodeps_libs)
    add_library(AudioDeps::lib${lib} STATIC IMPORTED GLOBAL)
    set_target_properties(AudioDeps::lib${lib} PROPERTIES
      IMPORTED_LOCATION "${AUDIODEPS_PREFIX}/lib/lib${lib}.a"
      INTERFACE_INCLUDE_DIRECTORIES "${AUDIODEPS_PREFIX}/include")
  endforeach()

  _audiodeps_interface(ogg AudioDeps::libogg)
  _audiodeps_interface(vorbisfile AudioDeps::libvorbisfile AudioDeps::libvorbis AudioDeps::ogg)
  # libFLAC was built with its Ogg support, as Debian's is.
  _audiodeps_interface(flac AudioDeps::libFLAC AudioDeps::ogg)
  # Without this the header declares every function as imported from a DLL.
  target_compile_definitions(AudioDeps::flac INTERFACE FLAC__NO_DLL)
  _audiodeps_interface(mpg123 AudioDeps::libmpg123 shlwapi)
  _audiodeps_interface(xmp AudioDeps::libxmp)
  # The same for libxmp, which spells it BUILDING_STATIC up to 4.5 and
  # LIBXMP_STATIC from 4.6 on.
  target_compile_definitions(AudioDeps::xmp INTERFACE LIBXMP_STATIC BUILDING_STATIC)
  _audiodeps_interface(speex AudioDeps::libspeex AudioDeps::ogg)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(AUDIODEPS_OGG REQUIRED IMPORTED_TARGET GLOBAL ogg)
  pkg_check_modules(AUDIODEPS_VORBISFILE REQUIRED IMPORTED_TARGET GLOBAL vorbisfile vorbis)
  pkg_check_modules(AUDIODEPS_FLAC REQUIRED IMPORTED_TARGET GLOBAL flac)
  pkg_check_modules(AUDIODEPS_MPG123 REQUIRED IMPORTED_TARGET GLOBAL libmpg123)
  pkg_check_modules(AUDIODEPS_XMP REQUIRED IMPORTED_TARGET GLOBAL libxmp)
  pkg_check_modules(AUDIODEPS_SPEEX REQUIRED IMPORTED_TARGET GLOBAL speex)

  _audiodeps_interface(ogg PkgConfig::AUDIODEPS_OGG)
  _audiodeps_interface(vorbisfile PkgConfig::AUDIODEPS_VORBISFILE AudioDeps::ogg)
  _audiodeps_interface(flac PkgConfig::AUDIODEPS_FLAC)
  _audiodeps_interface(mpg123 PkgConfig::AUDIODEPS_MPG123)
  _audiodeps_interface(xmp PkgConfig::AUDIODEPS_XMP)
  _audiodeps_interface(speex PkgConfig::AUDIODEPS_SPEEX AudioDeps::ogg)
endif()

_audiodeps_interface(all AudioDeps::mpg123 AudioDeps::vorbisfile AudioDeps::flac
  AudioDeps::xmp AudioDeps::speex)
