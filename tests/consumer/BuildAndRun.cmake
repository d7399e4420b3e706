# Builds Consumer.cpp the way a program outside the project would, against the repository root
# and libtrayvane_core.a only, then runs it.
execute_process(
  COMMAND ${CXX} -std=c++20 -O2 -I${ROOT} ${ROOT}/tests/consumer/Consumer.cpp ${LIBRARY} -ljpeg
          -o ${OUTPUT}
  RESULT_VARIABLE BuildResult)
if(NOT BuildResult EQUAL 0)
  message(FATAL_ERROR "The consumer program does not build against the core library")
endif()
execute_process(COMMAND ${OUTPUT} RESULT_VARIABLE RunResult)
if(NOT RunResult EQUAL 0)
  message(FATAL_ERROR "The consumer program found wrong results")
endif()
