# The audio tests' sounds, made at build time by Debian's encoders into
# ${ORB_AUDIO_FIXTURES}; a test target depends on orb_audio_fixtures.
set(ORB_AUDIO_FIXTURES ${CMAKE_BINARY_DIR}/audio-fixtures)
if(NOT TARGET orb_audio_fixtures)
  add_custom_command(OUTPUT ${ORB_AUDIO_FIXTURES}/stamp
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/audio/make_sounds.sh ${ORB_AUDIO_FIXTURES}
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/audio/make_sounds.sh ${CMAKE_SOURCE_DIR}/tests/audio/make_mod.py)
  add_custom_target(orb_audio_fixtures DEPENDS ${ORB_AUDIO_FIXTURES}/stamp)
endif()
