# The sample sites' content and page layouts: used by the sample-sites program and by the
# zone tests, which are built also without the Qt parts.
include_guard(GLOBAL)
add_library(lumetra_sample_content STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SampleContent.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SamplePages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SampleRoutes.cpp)
target_include_directories(lumetra_sample_content PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(lumetra_sample_content PRIVATE lumetra_settings)
