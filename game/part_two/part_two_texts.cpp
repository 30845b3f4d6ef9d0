// Part Two's page texts, one entry per text: key, the length the page is
// laid out for, where it is printed (x, y, margin) and the top of the next
// thing printed below it.
#include "game/part_two/part_two_texts.h"

namespace {

const PageText kTexts[] = {
    {"p2.intro.1", 105, 0, 10, 640, 460,
     "Kestrovar, the world's greatest secret agent, and Tibbet, his loyal assistant, are on a "
     "top-secret mission."},
    {"p2.intro.2", 148, 0, 10, 640, 460,
     "Somebody is driving the world's leaders quite mad with a mysterious pi-beam. Its source "
     "has been traced to a lonely spot deep in remote woodland."},
    {"p2.intro.3", 104, 0, 10, 640, 330,
     "The two heroes have found their way into an old castle in the woods, and fallen straight "
     "into a cunning trap!"},
    {"p2.intro.4", 118, 0, 10, 640, 460,
     "You are Kestrovar. Find the pi-beam machine and destroy it, before it finishes off the "
     "world's leaders for good."},
    {"p2.intro.5", 161, 0, 10, 440, 460,
     "You hang in an iron cage above a burning brazier. The cage has a combination lock, but "
     "you noted the skeleton's bone number. It is worth a try before you roast!"},
    {"p2.intro.6", 80, 0, 10, 440, 460,
     "Click! The lock springs open. You grab Tibbet and jump down to the stone floor."},
    {"p2.loc01.dungeon", 102, 0, 10, 440, 110,
     "You are in a dark, damp dungeon. An iron cage hangs above a burning brazier. On the floor "
     "you can see:"},
    {"p2.loc02.exits", 126, 0, 10, 440, 150,
     "A stone passage leads away from the dungeon, and a dark tunnel leads off the other way. "
     "You can hear running water in the tunnel."},
    {"p2.loc03.maze", 68, 0, 50, 640, 130,
     "You are in a maze of stone walls, with passages leading every which way"},
    {"p2.loc04.padlocked", 135, 0, 10, 640, 130,
     "You are at the bottom of a deep, dark pit. There is a narrow ledge high above you, and a "
     "wooden door to one side, padlocked shut."},
    {"p2.loc04.open", 119, 0, 10, 640, 130,
     "You are at the bottom of a deep, dark pit. There is a narrow ledge high above you, and a "
     "wooden door to one side."},
    {"p2.loc04.padlock", 67, 0, 10, 640, 460,
     "The door will not budge until that large padlock has been removed."},
    {"p2.loc04.cut", 86, 0, 10, 640, 460,
     "You file away at the padlock until it drops off, then push the creaking door open."},
    {"p2.loc05.store", 51, 0, 10, 640, 50,
     "Aha! It's an old store room... It still holds:"},
    {"p2.loc06.passage", 110, 0, 10, 640, 110,
     "You are in a dusty passage thick with cobwebs. It leads off into the distance, and a way "
     "into the maze opens here."},
    {"p2.loc07.web", 95, 0, 10, 640, 90,
     "As you break through a web, a huge, irate spider drops down in front of you. He looks "
     "annoyed."},
    {"p2.loc07.spider", 58, 0, 10, 640, 70,
     "An irate spider is here. He does not seem glad to see you."},
    {"p2.loc07.ignore", 177, 0, 10, 640, 460,
     "This spider is far too large to ignore! You run for the exit, dodging between the "
     "cobwebs. 'Phew, sir,' puffs Tibbet as you go. 'Tell me, have you cottoned on to any "
     "clues yet?'"},
    {"p2.loc07.thread", 86, 0, 10, 640, 460,
     "The spider is greatly amused by your gift of silk thread, and reels away, laughing loudly."},
    {"p2.loc08.passage", 100, 0, 10, 640, 110,
     "You are in a long, low passage leading toward a deep, dark pit. A flight of steps leads "
     "upward here."},
    {"p2.loc09.fall", 180, 0, 10, 640, 460,
     "On the far side of the pit you can see a wide ledge filled with rubble. Something glints "
     "among the stones. As you lean over for a closer look, you slip and tumble into the pit!"},
    {"p2.loc10.cellar", 78, 0, 10, 600, 70,
     "You are in a large, cold cellar. A huge coffin stands in the middle of it."},
    {"p2.loc10.smell", 93, 0, 70, 600, 460,
     "Phew! The whole place stinks of rotten eggs. You flee back into the maze to escape the "
     "stench."},
    {"p2.loc10.peg", 72, 0, 70, 600, 130,
     "The peg on your nose keeps the awful stench of rotten eggs well away."},
    {"p2.loc11.asleep", 178, 0, 10, 600, 170,
     "A flight of steps at one end of the cellar leads up toward a faint light. A bell-rope "
     "hangs from the ceiling, and gentle snoring comes from inside the coffin. Somebody is "
     "asleep!"},
    {"p2.loc11.cape", 163, 0, 10, 600, 170,
     "A flight of steps at one end of the cellar leads up toward a faint light, and a bell-rope "
     "hangs from the ceiling. The coffin stands open, and a cape lies inside it."},
    {"p2.loc11.empty", 123, 0, 10, 600, 130,
     "A flight of steps at one end of the cellar leads up toward a faint light, and a bell-rope "
     "hangs down from the ceiling."},
    {"p2.loc11.coffin", 91, 0, 10, 600, 90,
     "As you open the coffin, Count Brabble leaps out! Tibbet shrieks and leaps into your arms."},
    {"p2.loc11.rope", 99, 0, 90, 600, 460,
     "'How dare you disturb my roost!' cries the Count. He leaps past you and tugs hard on "
     "the bell-rope."},
    {"p2.loc11.egg", 175, 0, 90, 600, 460,
     "Tibbet's leap knocks the dinosaur egg out of your hand. It smashes, and a foul smell of "
     "rotten eggs fills the air. The Count flees the room in horror, holding his nose."},
    {"p2.loc11.fall", 75, 0, 10, 640, 460,
     "The ground opens beneath your feet, and you and Tibbet fall into darkness!"},
    {"p2.loc12.shut_thread", 148, 0, 10, 640, 130,
     "You are in a small room at the top of a tower. A long flight of steps leads down. There "
     "is a locked window, and a silk thread lies on the floor."},
    {"p2.loc12.shut", 117, 0, 10, 640, 110,
     "You are in a small room at the top of a tower, with a long flight of steps leading down. "
     "There is a locked window."},
    {"p2.loc12.open_thread", 163, 0, 10, 640, 150,
     "You are in a small room at the top of a tower, with a long flight of steps leading down. "
     "A window opens out onto a ledge, and a silk thread lies on the floor."},
    {"p2.loc12.open", 132, 0, 10, 640, 130,
     "You are in a small room at the top of a tower, with a long flight of steps leading down. "
     "A window opens out onto a narrow ledge."},
    {"p2.loc13.window", 122, 0, 10, 640, 110,
     "The window is shut tight and will not open. Outside there is a ledge, and far below you "
     "can see the castle courtyard."},
    {"p2.loc13.lever", 56, 0, 10, 640, 460,
     "Using the crowbar as a lever, you prise the window open."},
    {"p2.loc14.drain", 118, 0, 40, 480, 160,
     "You are on a ledge beside a dirty drain. A tunnel leads from here to the dungeon, and a "
     "long ladder climbs up toward light."},
    {"p2.loc15.courtyard", 118, 0, 10, 640, 110,
     "You are in a courtyard beside a pile of straw. A stable door stands ahead, and there is a "
     "mousehole cover at your feet."},
    {"p2.loc16.door", 73, 0, 10, 640, 90,
     "Another door leads out of the yard, but it will not open from this side."},
    // Locations 17 to 44 and the ending.
    {"p2.loc17.page", 0, 0, 10, 640, 70,
     "You are in the stables, where an old coach gathers dust. On the floor you see:"},
    {"p2.loc18.page", 0, 0, 10, 640, 130,
     "You are perched on a narrow ledge high above the courtyard, trying hard not to look "
     "down. One window leads into the tower and another into the library."},
    {"p2.loc18.look_down", 0, 0, 10, 640, 460,
     "You peer over the edge at the courtyard far below. Behind you Tibbet climbs out of the "
     "window, slips on the sill and bumps right into you. 'Oops,' he says, as you both "
     "topple off the ledge."},
    {"p2.loc19.page", 0, 0, 10, 640, 90,
     "You are in a library full of leather-bound books. On a table a lamp stands next to a "
     "book."},
    {"p2.loc19.open", 0, 0, 10, 640, 130,
     "You are in a library full of leather-bound books. On a table a lamp stands next to a "
     "book. One bookcase has swung aside to reveal a secret room."},
    {"p2.loc19.book", 0, 0, 10, 640, 460,
     "The book is a best-seller called 'Double Trouble', the life of a notorious spy who "
     "worked for both sides and got paid twice. Tibbet asks to borrow it, but you put it "
     "back on the table."},
    {"p2.loc19.crack", 0, 0, 10, 640, 460,
     "Running a finger along the shelves, you find a fine crack down the side of one "
     "bookcase. 'Perhaps that lamp could throw some light on it,' suggests Tibbet helpfully."},
    {"p2.loc19.swing", 0, 0, 10, 640, 460,
     "You give the bookcase a good push. It swings back with a creak, and you and "
     "Tibbet tumble head over heels into a secret room."},
    {"p2.loc19.lamp", 0, 0, 10, 640, 460,
     "You press the switch. Click. Nothing happens. You press it again. Click. The lamp "
     "stays stubbornly dark. 'Must be one of those low-energy bulbs,' says Tibbet."},
    {"p2.loc20.page", 0, 0, 10, 640, 130,
     "You are in a musty old secret passage. A way leads back to the library, and some "
     "rickety steps lead down into the gloom. An old map lies on the floor."},
    {"p2.loc20.no_map", 0, 0, 10, 640, 110,
     "You are in a musty old secret passage. A way leads back to the library, and some "
     "rickety steps lead down into the gloom."},
    {"p2.loc20.dark", 0, 0, 10, 640, 460,
     "As you wander off, the bookcase swings shut behind you and everything goes pitch "
     "black. You feel your way along the wall until you find some steps, and climb down them "
     "with Tibbet clinging to your ankle."},
    {"p2.loc21.page", 0, 0, 10, 640, 130,
     "You are in a long corridor. One door leads to the library and another to the music "
     "room, and at the far end a flight of stairs goes down."},
    {"p2.loc21.secret_passage", 0, 0, 10, 640, 460,
     "You set off to find the secret passage again. Sadly, it is so secret that even you do "
     "not know where it is. 'Top secret, then,' says Tibbet."},
    {"p2.loc22.page", 0, 0, 10, 640, 110,
     "Stairs lead down to a dark doorway. Its door has been nailed shut, but the nails could "
     "be pulled out from this side."},
    {"p2.loc22.open", 0, 0, 10, 640, 70,
     "Stairs lead down to a dark doorway."},
    {"p2.loc22.no_tool", 0, 0, 10, 640, 460,
     "You tug at the nails with your fingers, but they will not budge. You need something to "
     "pull them out with. 'Something with a good grip,' says Tibbet."},
    {"p2.loc22.pliers", 0, 0, 10, 640, 460,
     "You grip each nail with the pliers and pull them out one by one. As the last nail "
     "comes free, the door creaks and swings open."},
    {"p2.loc23.page", 0, 0, 10, 640, 130,
     "You are in a gloomy cellar filled with barrels of salt. A dark doorway leads off to one "
     "side, and a long wooden ladder lies against the barrels."},
    {"p2.loc23.no_ladder", 0, 0, 10, 640, 110,
     "You are in a gloomy cellar filled with barrels of salt. A dark doorway leads off to one "
     "side."},
    {"p2.loc23.nailed", 0, 0, 10, 640, 460,
     "You push at the door, but it will not move. It seems to be nailed shut "
     "from the other side. 'Somebody really does not want visitors,' mutters Tibbet."},
    {"p2.loc24.page", 0, 0, 10, 640, 90,
     "At this end of the cellar a small grate opens into the dungeon. It looks a tight "
     "squeeze."},
    {"p2.loc24.ladder", 0, 0, 10, 640, 110,
     "At this end of the cellar a small grate opens into the dungeon. It looks a tight "
     "squeeze, and the ladder will never fit through it."},
    {"p2.loc25.page", 0, 0, 10, 640, 80,
     "You are in a music room full of musical instruments. Here you can see:"},
    {"p2.loc25.piano", 0, 0, 10, 640, 460,
     "You put your arms around the piano and heave. It does not move an inch. 'It is a grand "
     "piano, not a handy one,' says Tibbet. 'Try something you can actually carry.'"},
    {"p2.loc26.page", 0, 0, 10, 640, 150,
     "From the top of the ladder you can see a passage beyond the pit and a ledge full of "
     "rubble. A small key is wedged tightly in a crack in the rock."},
    {"p2.loc26.no_key", 0, 0, 10, 640, 130,
     "From the top of the ladder you can see a passage beyond the pit and a ledge full of "
     "rubble."},
    {"p2.loc26.jump", 0, 0, 10, 640, 460,
     "You take a run-up and leap across the pit. Halfway over you notice that it is wider "
     "than it looked. Tibbet screams all the way down as you crash to the bottom of the pit."},
    {"p2.loc26.fingers", 0, 0, 10, 640, 460,
     "You poke your fingers into the crack, but the key is wedged too deep to reach. 'If "
     "only we had something long to grab it with,' says Tibbet."},
    {"p2.loc26.tongs", 0, 0, 10, 640, 460,
     "You slide the tongs into the crack, grip the key and work it gently loose. Got it! "
     "Tibbet gives you a round of applause."},
    {"p2.loc27.page", 0, 0, 10, 640, 190,
     "You are in a museum of dinosaur skeletons, standing next to a row of display cases. "
     "There is an exit, and a stairway leads down. From somewhere among the cases comes a "
     "faint hissing."},
    {"p2.loc27.quiet", 0, 0, 10, 640, 130,
     "You are in a museum of dinosaur skeletons, standing next to a row of display cases. "
     "There is an exit, and a stairway leads down."},
    {"p2.loc27.snake", 0, 0, 10, 640, 460,
     "As you step towards the cases, a huge snake rears up from behind them, hissing "
     "horribly. You grab Tibbet and run for the closest exit without stopping to say "
     "goodbye."},
    {"p2.loc28.trumpet", 0, 0, 10, 640, 460,
     "You blow a mighty blast on the trumpet. The snake shoots out of the cases, and it "
     "plainly hates brass bands. You and Tibbet flee through the closest exit."},
    {"p2.loc28.flute", 0, 0, 10, 640, 460,
     "You play a gentle tune on the flute. The snake slides out of the display cases and "
     "sways from side to side, quite entranced by the music."},
    {"p2.loc28.music_stops", 0, 0, 10, 640, 460,
     "When the music stops, the snake shakes its head and slithers back among the cases. 'It "
     "only wanted a nice basket to curl up in,' says Tibbet."},
    {"p2.loc28.basket", 0, 0, 10, 640, 460,
     "Still swaying to the tune, the snake creeps into your basket and curls up for a nap. "
     "You close the lid on it quickly. 'A charming performance,' says Tibbet."},
    {"p2.loc28.cymbals", 0, 0, 10, 640, 460,
     "You crash the cymbals together. The snake shoots out of the cases in a furious temper: "
     "it plainly hates percussion. You and Tibbet flee through the closest exit."},
    {"p2.loc29.page", 0, 0, 10, 640, 90,
     "The display cases hold an ancient dinosaur egg, lying in a heap of bone pieces."},
    {"p2.loc29.no_egg", 0, 0, 10, 640, 70,
     "The display cases hold nothing but a heap of bone pieces."},
    {"p2.loc30.page", 0, 0, 10, 640, 130,
     "You are among the dinosaur skeletons, with the display cases far off. You stand at the "
     "tail end of a huge skeleton that towers up to the ceiling."},
    {"p2.loc30.bones", 0, 0, 10, 640, 130,
     "You are among the dinosaur skeletons, with the display cases far off. Where the huge "
     "skeleton stood, heaps of broken bones lie all around you."},
    {"p2.loc31.page", 0, 0, 10, 640, 110,
     "You are halfway up the spine of the skeleton. The old bones creak, and the whole thing "
     "begins to shake beneath you."},
    {"p2.loc32.page", 0, 0, 10, 640, 130,
     "You are standing on the skull of the skeleton. A balcony lies off to one side, and "
     "beneath you the skeleton begins to fall apart."},
    {"p2.loc32.glide", 0, 0, 10, 640, 460,
     "You leap from the skull and spread Count Brabble's cape wide. It catches the air, and "
     "you glide gracefully over to the balcony, with Tibbet hanging on to the hem."},
    {"p2.loc32.tumble", 0, 0, 10, 640, 460,
     "You jump, and the floor rushes up to meet you. You land among broken bones as the "
     "skeleton crashes down around you. 'Ow, right on my funny bone,' grumbles Tibbet."},
    {"p2.loc33.page", 0, 0, 10, 640, 110,
     "Bone by bone, the skeleton slowly takes shape, while Tibbet sits reading a book called "
     "'Old Bones for Beginners'."},
    {"p2.loc33.done", 0, 0, 10, 640, 460,
     "At last every bone is back in place, and the great skeleton stands tall once more. "
     "'That was a skele-ton of work,' sighs Tibbet."},
    {"p2.loc34.page", 0, 0, 10, 640, 150,
     "You are on a balcony overlooking the museum. A row of portraits hangs on the wall, and "
     "through a window you can see a narrow ledge far below."},
    {"p2.loc34.museum", 0, 0, 10, 640, 460,
     "You lean over the rail for a better look, and over you go. You tumble through the air "
     "and crash onto the museum floor among broken bones. 'Not again,' grumbles Tibbet."},
    {"p2.loc34.jump", 0, 0, 10, 640, 460,
     "You leap out of the window and land hard on the ledge. You stumble, wobble and fall "
     "right off it. 'And whose idea was that?' asks Tibbet as you plunge."},
    {"p2.loc34.rope", 0, 0, 10, 640, 460,
     "You tie the rope to the window frame and climb down to the ledge. Just as you reach "
     "it, the rope comes loose and drops past you. There is no way back up now."},
    {"p2.loc35.page", 0, 0, 10, 640, 130,
     "You stand beside a full-length portrait of a very portly toad. Feeling along the "
     "frame, you find a catch under one edge of the painting."},
    {"p2.loc35.out_of_reach", 0, 0, 10, 640, 460,
     "The catch lies too far under the painting for your fingers to reach. 'Something thin "
     "and sharp would slip in there,' hints Tibbet."},
    {"p2.loc35.knife", 0, 0, 10, 640, 460,
     "You slide the knife under the painting and flick the catch. The portrait swings "
     "forward to reveal a passage, and as you step through, the panel shuts behind you."},
    {"p2.loc36.falling", 0, 0, 10, 640, 460,
     "You are plummeting towards the ground!"},
    {"p2.loc36.straw", 0, 0, 10, 640, 460,
     "By great luck you land in a huge pile of straw in the courtyard. As you climb out, you "
     "even find a needle in it. Tibbet says he always wondered where that went."},
    {"p2.loc37.page", 0, 0, 10, 640, 110,
     "You are in a dark secret passage. It is hard to see where any of the exits lead. A map "
     "would have come in handy here."},
    {"p2.loc37.map", 0, 0, 10, 640, 110,
     "You are in a dark secret passage. It is hard to see where any of the exits lead, but "
     "your map shows a way out to the right."},
    {"p2.loc38.page", 0, 0, 10, 640, 460,
     "Following the passage, you find a back way into the control room of the beam machine. "
     "'This must be where Scarrow cooks up his evil plans,' whispers Tibbet."},
    {"p2.loc39.page", 0, 0, 10, 640, 460,
     "You are in a dome-shaped room that used to be an observatory. Instead of a telescope, "
     "a huge machine now stands here, pointed at a slot in the roof of the dome."},
    {"p2.loc40.page", 0, 0, 10, 640, 110,
     "Beside the machine, a door leads out onto a catwalk that runs around the outside of "
     "the observatory dome."},
    {"p2.loc40.locked", 0, 0, 10, 640, 460,
     "You rattle the handle, but the door to the catwalk is locked. 'Locked doors usually "
     "need keys,' says Tibbet. 'Just a hunch.'"},
    {"p2.loc41.page", 0, 0, 10, 640, 130,
     "The huge machine is a high-energy beam generator. On its side are two buttons, one red "
     "and one green."},
    {"p2.loc41.silent", 0, 0, 10, 640, 460,
     "You press the red button. Nothing happens. The machine stays silent and cold."},
    {"p2.loc41.fire", 0, 0, 10, 640, 460,
     "You press the red button. A blinding beam of light shoots out of the machine and up "
     "through the slot in the dome. The beam has been fired!"},
    {"p2.loc41.warning", 0, 0, 10, 640, 460,
     "'Oh dear,' sighs Tibbet. 'Firing it into the sky only does Scarrow's work for him. Give "
     "it a moment's reflection. Or better still, give it something to reflect off.'"},
    {"p2.loc41.humming", 0, 0, 10, 640, 460,
     "You press the green button. With a deep hum the machine comes to life and its lights "
     "begin to flicker. It works!"},
    {"p2.loc41.safe", 0, 0, 10, 640, 460,
     "You press the green button again. The humming dies away and the lights go out. The "
     "machine is safe now."},
    {"p2.loc42.page", 0, 0, 10, 640, 110,
     "You are on a catwalk running around the outside of the observatory dome. Above you is "
     "a slot in the roof of the dome."},
    {"p2.loc42.mirror", 0, 0, 10, 640, 130,
     "You are on a catwalk running around the outside of the observatory dome. Above you is "
     "a slot in the roof of the dome. A mirror is jammed firmly into the slot."},
    {"p2.loc42.wind", 0, 0, 10, 640, 460,
     "You lean on the rail to admire the view, but a gust of wind blows you off the catwalk "
     "before you see a thing. 'Lovely view,' complains Tibbet. 'Of the ground.'"},
    {"p2.loc43.explosion", 0, 0, 10, 640, 460,
     "The beam strikes the mirror in the slot and bounces straight back into the machine. "
     "With an almighty BOOM the machine explodes, showering the room with custard pies, "
     "puddings and pastry!"},
    {"p2.loc43.pudding", 0, 0, 10, 640, 460,
     "Tibbet climbs out of a pudding, licking custard off his nose. 'Well, that was a piece "
     "of cake,' he says. 'Or should I say, a pie-ce?' You sigh and tell him to stop fooling "
     "around."},
    {"p2.loc44.phone", 0, 0, 260, 640, 300,
     "Back at base, the Chief calls you in."},
    {"p2.loc44.praise", 0, 0, 300, 640, 460,
     "'Well done, K.V.!' says the Chief. 'You have saved the world yet again. The world's "
     "leaders are already feeling much better.'"},
    {"p2.loc44.scarrow", 0, 0, 260, 640, 460,
     "'It is a pity Scarrow got away,' the Chief goes on, 'but his plans have come to "
     "nothing. I expect we shall hear from him again one day. Until then, enjoy a "
     "well-earned rest.'"},
};

}  // namespace

const PageTextTable gPartTwoTexts = {kTexts, int(sizeof kTexts / sizeof kTexts[0])};

const char* PartTwoText(const char* key) {
  const PageText* entry = FindPageText(gPartTwoTexts, key);
  return entry != nullptr ? entry->text : "";
}
