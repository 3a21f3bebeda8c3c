#pragma once
/* The values of the scene's options that more than C++ reads: the animation speed's range
   and the defaults, and the camera tours by index with the word that names each on a command
   line and its title in a list. The settings page's resource script and the X11 option
   file's test read them too, so this file holds plain definitions only. */

#define TELLARO_SPEED_LOW 0
#define TELLARO_SPEED_HIGH 100
#define TELLARO_SPEED_DEFAULT 50
#define TELLARO_RANDOM_START_DEFAULT 1
#define TELLARO_NIGHT_SIDE_DEFAULT 1

#define TELLARO_TOUR_COUNT 3
#define TELLARO_TOUR_DEFAULT 0
#define TELLARO_TOUR_0_OPTION "cycle"
#define TELLARO_TOUR_0_TITLE "Cycle All"
#define TELLARO_TOUR_1_OPTION "flyby"
#define TELLARO_TOUR_1_TITLE "Phobos flyby"
#define TELLARO_TOUR_2_OPTION "orbit"
#define TELLARO_TOUR_2_TITLE "Martian orbit"

/* The settings page's camera list: each title, the default's marked, with the byte count of
   the text and its terminating zero that the list's initial data records. */
#define TELLARO_TOUR_0_ITEM TELLARO_TOUR_0_TITLE " (default)"
#define TELLARO_TOUR_0_ITEM_BYTES 20L
#define TELLARO_TOUR_1_ITEM TELLARO_TOUR_1_TITLE
#define TELLARO_TOUR_1_ITEM_BYTES 13L
#define TELLARO_TOUR_2_ITEM TELLARO_TOUR_2_TITLE
#define TELLARO_TOUR_2_ITEM_BYTES 14L
