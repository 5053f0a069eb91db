# Copies each book folder of the generated demo library into DESTINATION, replacing an older copy,
# so that no sentence of a previous manifest is left behind.
file(GLOB books LIST_DIRECTORIES true RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(book IN LISTS books)
    if(IS_DIRECTORY ${SOURCE}/${book})
        file(REMOVE_RECURSE ${DESTINATION}/${book})
        file(COPY ${SOURCE}/${book} DESTINATION ${DESTINATION})
    endif()
endforeach()
