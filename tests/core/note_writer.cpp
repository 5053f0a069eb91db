// Saves one lesson's note over and over, alternating two texts, until it is killed: the other
// half of the kill test, which checks the note file after every kill.
#include <string>

#include "notes/LessonNotes.h"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        return 2;
    }
    const std::string lesson = argv[1];
    for (long round = 0;; ++round) {
        lectoria::notes::LessonNotes notes(lesson);
        const std::string text = round % 2 == 0 ? std::string(3000, 'A') : std::string(5000, 'B');
        if (!notes.SetNoteText(7, text).ok || !notes.Save().ok) {
            return 1;
        }
    }
}
