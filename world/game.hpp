#pragma once
// The one state of the running game: the six world lists, every shared global under its own
// name with its start value, the random generator, and the media layer it plays on. It holds
// state only, values some rule reads in a later call or a later frame; what a step merely hands
// back to its caller (the rotation factors, the points of a lightning bolt) is returned or kept
// in locals.

#include <cstdint>
#include <string>

#include "base/cursor_list.hpp"
#include "base/random.hpp"
#include "media/media.hpp"
#include "world/records.hpp"
#include "world/sound_cues.hpp"

namespace starvane {

// The game's fields apart from its media layer: a value that can be copied whole, so that a
// film (app/film*) can keep the game as it stood at a frame and later go back to it exactly.
struct GameState {
  // The one random generator of the game's rules, seeded once at start-up; every Random of the
  // world, the enemies, the effects and the combat draws from it in turn.
  RandomGenerator Rng;

  // The world lists, in the order they are created; they last the whole run.
  CursorList<Star> BigStars;    // made by world generation, drawn by the star layer
  CursorList<Star> SmallStars;  // likewise, drawn as the parallax layer
  // Every body of the world, the fixed ones first (ship, shield, planet, turret, glimmerhex);
  // moved, turned, steered, hit, destroyed and drawn by the steps of each frame.
  CursorList<Body> Bodies;
  CursorList<Button> Buttons;  // the STATS panel's buttons, made and clicked by the panel
  CursorList<Spark> Sparks;    // added by hits and effects, moved each frame, faded by the effects
  CursorList<Shot> Shots;      // fired by the ship and the enemies, moved and hit each frame

  // Globals with a start value of their own.
  std::int32_t WorldWidth = 10000;   // half the width: x runs from -10000 to +10000
  std::int32_t WorldHeight = 10000;  // half the height; both read by wrapping, dash and minimap
  std::int16_t Gravity = 4000;       // the home planet pulls by -Gravity / distance squared
  // The number of the weapon chosen with its key, 1 for the first of world/weapons.hpp: the
  // controls fire it, the HUD shows it, the effects make a glowing one glow.
  std::int16_t SelectedWeapon = 1;
  // The kind the player's body is built as, at world generation and at every rebuild.
  std::string PlayerKindName = "ship";
  // The player's money: paid by kills, taken by deaths, spent in the STATS panel, saved in the
  // ship's file and shown by the HUD.
  std::int32_t Money = 0;
  // The ship's name, chosen in the launcher: the base name of its file.
  std::string ShipName = "MyShip";
  // 0.2, 1, 10, 70 or 150, chosen in the launcher before anything reads it; scales the enemies'
  // life and damage, the rewards and the price of dying.
  float Difficulty = 0;
  // The ship's file is there but could not be read when the ship was loaded (no permission, an
  // I/O error, a directory of that name). The ship then flies with the start equipment, and its
  // file, which may still hold the player's real ship, is never saved over.
  bool ShipFileUnreadable = false;
  // No file of the ship was there when it was loaded: this is the ship's first game.
  bool ShipIsNew = false;
  // What keeps the ship's file from being saved over, said of the file ("the ship file "X" is
  // write-protected", "... cannot be opened (File name too long)"); empty when nothing does.
  // Set when the ship is loaded, read when it is saved.
  std::string ShipFileProblem;

  // The ship's equipment: Active, Value, Max, Refreshrate, Damage, Range. Loaded from and saved
  // to the ship's file, bought in the STATS panel, spent and refilled by the equipment upkeep
  // every frame, shown by the status bars.
  Equipment Life{0, 100, 100, 0.005f, 0, 0};
  Equipment Energie{0, 300, 300, 0.1f, 0, 0};
  Equipment Boost{0, 1.0f, 1.5f, -0.2f, 0, 0};
  Equipment Shock{0, 0, 0, -0.5f, 0.1f, 100};
  // A record for each weapon of world/weapons.hpp, which names it.
  Equipment Weapon1{0, 0, 2, 0, 1, 0};
  Equipment Weapon2{0, 0, 20, 0, 10, 0};
  Equipment Weapon3{0, 0, 200, 0, 10, 0};
  // The working record of the selected weapon: its Value is the reload counter the upkeep
  // raises every frame and the controls fire at, and that the charge bar shows.
  Equipment ActiveWeapon{};

  // The ship as the rest of the frame sees it, taken by the ship upkeep each frame and read by
  // the collisions, the enemies, the effects, the controls and the drawing after it.
  // Screen position = world position + (ViewX, ViewY): set by the upkeep to centre the ship,
  // shaken by the effects, used by every drawing step and the visibility flags.
  float ViewX = 0;
  float ViewY = 0;
  float ShipX = 0;  // the ship's centre, taken before a respawn
  float ShipY = 0;
  float ShipSpeedX = 0;  // the ship's speed after the upkeep
  float ShipSpeedY = 0;
  float ShipSpeed = 0;  // the length of that speed
  // The colour each frame is cleared with: a rebuild flashes it, the effects fade it to black.
  std::int16_t BackRed = 0;
  std::int16_t BackGreen = 0;
  std::int16_t BackBlue = 0;
  // The game's name (the dump's statsOpen), though it does not mean "open": 1 says that opening
  // the STATS panel was asked for, and the frame loop runs the panel in its slot of the next
  // frame. The key C let go in flight toggles it; the panel sets it back to 0 in its first
  // frame, so it is 0 all the while the panel is open, and the panel's first frame reads the 1
  // to register its boxes once (the notices read it too, to warn away from home).
  std::int16_t StatsOpen = 0;
  // The left mouse button in the STATS panel: 0 up, 1 just went down (for one panel frame: only
  // then does a click count), 2 held. Kept from one opening of the panel to the next.
  std::int16_t MouseClickState = 0;

  // The ship's state between frames.
  // Changes queued for the ship by the collisions and the controls, applied and cleared by the
  // next ship upkeep; 0.0 means no change.
  Body ShipOverride{};
  // The ship's points, radius and spin as of the last upkeep (the hull push refreshes the
  // points); the collisions test and restore the ship from it, the turret takes its spin.
  Body ShipCopy{};
  // The beat of the game. FrameTick counts the frames round 0, 1, ..., 10: each ship upkeep adds
  // 1 and a tick past 10 becomes 0 (it starts at 0, so the first frame sees 1). FrameTock adds 1
  // each time FrameTick goes back to 0 and likewise runs 0..10, so it turns once in 121 frames.
  // The enemies fire on the beat; the effects, the lightning and the charge bar pulse with the
  // tick, and the glimmerhex is re-aimed when it is 10.
  std::int16_t FrameTick = 0;
  std::int16_t FrameTock = 0;
  // The teleport's charge, 0 to 100: holding T raises it, the upkeep drains it by 1 a frame, the
  // effects draw its ring and percentage.
  std::int16_t TeleportCharge = 0;
  // The home planet's OnScreen as of this frame's upkeep: regeneration doubles and the STATS
  // panel offers its upgrades only while it is 1.
  std::int16_t HomePlanetOnScreen = 0;
  // The shield's Kind as of the upkeep (5 on, 0 off): while it is 0, bumps, hits and the drain
  // of the fourth enemy cost the ship life; with the shield on they cost energy or nothing.
  std::int16_t ShieldKind = 0;
  // The ship's Kind as of the last upkeep that found it alive: bodies bump the ship only while
  // it is 1 or more.
  std::int16_t ShipKind = 0;
  // -2, 0 or +2 degrees a frame, set by the keys A and D and added by the upkeep to the turret's
  // spin.
  std::int16_t TurretTurn = 0;
  // Two points of the ship's outline, set when the ship is built and read by the thrust: its
  // tip, along which it pushes, and the point the exhaust leaves from. (The turret's muzzle,
  // kMuzzlePoint, is a fixed point of the turret's own outline.)
  std::int16_t NosePoint = 0;
  std::int16_t TailPoint = 0;

  // The line last computed by LineThrough: y = LineSlope * x + LineIntercept. The steering reads
  // it straight after, but the hull test of the home planet relies on it lasting: an edge whose
  // ends share their whole x keeps the line before it, which for the first edge is whatever
  // line the last LineThrough left, in an earlier call or an earlier frame.
  float LineSlope = 0;
  float LineIntercept = 0;

  // Not state of the game: what happened this frame, told to the sound (world/sound_cues.hpp).
  // The rules only add to it; the sound takes it at each presented frame.
  SoundCues Sounds;
};

struct Game : GameState {
  explicit Game(Media& media_layer) : media(media_layer) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The screen, keyboard, mouse and files the game plays on; every drawing step and the input
  // and file steps go through it.
  Media& media;
};

}  // namespace starvane
