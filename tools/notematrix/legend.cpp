#include "legend.h"

#include <algorithm>

namespace matrix {

namespace {

constexpr std::array<std::string_view, 128> kInstrumentShortNames{
    "acpiano",  "britepno", "synpiano", "honkytonk", "epiano1",  "epiano2",  "hrpschrd", "clavinet",
    "celeste",  "glocken",  "musicbox", "vibes",     "marimba",  "xylophon", "tubebell", "santur",
    "homeorg",  "percorg",  "rockorg",  "churchorg", "reedorg",  "accordn",  "harmonica", "concrtna",
    "nyguitar", "acguitar", "jazzgtr",  "cleangtr",  "mutegtr",  "odguitar", "distgtr",  "gtrharm",
    "acbass",   "fngrbass", "pickbass", "fretless",  "slapbas1", "slapbas2", "synbass1", "synbass2",
    "violin",   "viola",    "cello",    "contraba",  "marcato",  "pizzcato", "harp",     "timpani",
    "marcato",  "slowstr",  "synstr1",  "synstr2",   "choir",    "doo",      "voices",   "orchhit",
    "trumpet",  "trombone", "tuba",     "mutetrum",  "frenchorn", "hitbrass", "synbras1", "synbras2",
    "sprnosax", "altosax",  "tenorsax", "barisax",   "oboe",     "englhorn", "bassoon",  "clarinet",
    "piccolo",  "flute",    "recorder", "woodflut",  "bottle",   "shakazul", "whistle",  "ocarina",
    "sqrwave",  "sawwave",  "calliope", "chiflead",  "charang",  "voxlead",  "lead5th",  "basslead",
    "fantasia", "warmpad",  "polysyn",  "ghostie",   "bowglass", "metalpad", "halopad",  "sweeper",
    "aurora",   "soundtrk", "crystal",  "atmosphr",  "freshair", "unicorn",  "sweeper",  "startrak",
    "sitar",    "banjo",    "shamisen", "koto",      "kalimba",  "bagpipes", "fiddle",   "shannai",
    "carillon", "agogo",    "steeldrum", "woodblock", "taiko",   "toms",     "syntom",   "revcymb",
    "fx-fret",  "fx-blow",  "seashore", "jungle",    "telephone", "helicptr", "applause", "ringwhsl",
};

// One line per controller number, 0 to 127.
constexpr std::array<std::string_view, 128> kControllerDescriptions{
    "Bank Select (coarse)",  // 0
    "Modulation Wheel (coarse)",  // 1
    "Breath Control (coarse)",  // 2
    "Continuous controller #3",  // 3
    "Foot Controller (coarse)",  // 4
    "Portamento Time (coarse)",  // 5
    "Data Entry Slider (coarse)",  // 6
    "Main Volume (coarse)",  // 7
    "Stereo Balance (coarse)",  // 8
    "Continuous controller #9",  // 9
    "Pan (coarse)",  // 10
    "Expression (sub-Volume) (coarse)",  // 11
    "Effect Control 1 (coarse)",  // 12
    "Effect Control 2 (coarse)",  // 13
    "Continuous controller #14",  // 14
    "Continuous controller #15",  // 15
    "General Purpose Slider 1",  // 16
    "General Purpose Slider 2",  // 17
    "General Purpose Slider 3",  // 18
    "General Purpose Slider 4",  // 19
    "Continuous controller #20",  // 20
    "Continuous controller #21",  // 21
    "Continuous controller #22",  // 22
    "Continuous controller #23",  // 23
    "Continuous controller #24",  // 24
    "Continuous controller #25",  // 25
    "Continuous controller #26",  // 26
    "Continuous controller #27",  // 27
    "Continuous controller #28",  // 28
    "Continuous controller #29",  // 29
    "Continuous controller #30",  // 30
    "Continuous controller #31",  // 31
    "Bank Select (fine)",  // 32
    "Modulation Wheel (fine)",  // 33
    "Breath Control (fine)",  // 34
    "Continuous controller #3 (fine)",  // 35
    "Foot Controller (fine)",  // 36
    "Portamento Time (fine)",  // 37
    "Data Entry Slider (fine)",  // 38
    "Main Volume (fine)",  // 39
    "Stereo Balance (fine)",  // 40
    "Continuous controller #9 (fine)",  // 41
    "Pan (fine)",  // 42
    "Expression (sub-Volume) (fine)",  // 43
    "Effect Control 1 (fine)",  // 44
    "Effect Control 2 (fine)",  // 45
    "Continuous controller #14 (fine)",  // 46
    "Continuous controller #15 (fine)",  // 47
    "Continuous controller #16",  // 48
    "Continuous controller #17",  // 49
    "Continuous controller #18",  // 50
    "Continuous controller #19",  // 51
    "Continuous controller #20 (fine)",  // 52
    "Continuous controller #21 (fine)",  // 53
    "Continuous controller #22 (fine)",  // 54
    "Continuous controller #23 (fine)",  // 55
    "Continuous controller #24 (fine)",  // 56
    "Continuous controller #25 (fine)",  // 57
    "Continuous controller #26 (fine)",  // 58
    "Continuous controller #27 (fine)",  // 59
    "Continuous controller #28 (fine)",  // 60
    "Continuous controller #29 (fine)",  // 61
    "Continuous controller #30 (fine)",  // 62
    "Continuous controller #31 (fine)",  // 63
    "Hold pedal (Sustain) on/off",  // 64
    "Portamento on/off",  // 65
    "Sustenuto Pedal on/off",  // 66
    "Soft Pedal on/off",  // 67
    "Legato Pedal on/off",  // 68
    "Hold Pedal 2 on/off",  // 69
    "Sound Variation",  // 70
    "Sound Timbre",  // 71
    "Sound Release Time",  // 72
    "Sound Attack Time",  // 73
    "Sound Brighness",  // 74
    "Sound Control 6",  // 75
    "Sound Control 7",  // 76
    "Sound Control 8",  // 77
    "Sound Control 9",  // 78
    "Sound Control 10",  // 79
    "General Purpose Button",  // 80
    "General Purpose Button",  // 81
    "General Purpose Button",  // 82
    "General Purpose Button",  // 83
    "Undefined on/off",  // 84
    "Undefined on/off",  // 85
    "Undefined on/off",  // 86
    "Undefined on/off",  // 87
    "Undefined on/off",  // 88
    "Undefined on/off",  // 89
    "Undefined on/off",  // 90
    "Effects Level",  // 91
    "Tremulo Level",  // 92
    "Chorus Level",  // 93
    "Celeste (Detune) Level",  // 94
    "Phaser Level",  // 95
    "Data entry +1",  // 96
    "Data entry -1",  // 97
    "Non-Registered Parameter Number (coarse)",  // 98
    "Non-Registered Parameter Number (fine)",  // 99
    "Registered Parameter Number (coarse)",  // 100
    "Registered Parameter Number (fine)",  // 101
    "Undefined",  // 102
    "Undefined",  // 103
    "Undefined",  // 104
    "Undefined",  // 105
    "Undefined",  // 106
    "Undefined",  // 107
    "Undefined",  // 108
    "Undefined",  // 109
    "Undefined",  // 110
    "Undefined",  // 111
    "Undefined",  // 112
    "Undefined",  // 113
    "Undefined",  // 114
    "Undefined",  // 115
    "Undefined",  // 116
    "Undefined",  // 117
    "Undefined",  // 118
    "Undefined",  // 119
    "All Sound Off",  // 120
    "All Controllers Off",  // 121
    "Local Keyboard On/Off",  // 122
    "All Notes Off",  // 123
    "Omni Mode Off",  // 124
    "Omni Mode On",  // 125
    "Monophonic Mode On",  // 126
    "Polyphonic Mode On (mono=off)",  // 127
};

std::string_view controllerRange(int controller) {
    switch (controller) {
        case 10:
            return "0=left 127=right";
        case 32:
            return "0..127 usu.ignored";
        case 39:
        case 42:
        case 43:
            return "0..127 usu. ignored";
        case 96:
        case 97:
        case 120:
        case 121:
        case 123:
        case 124:
        case 125:
        case 127:
            return "ignored";
        case 122:
            return "0..63=off 64..127=on";
        case 126:
            return "**";
        default:
            break;
    }
    if (controller >= 64 && controller <= 69) {
        return "0..63=off  64..127=on";
    }
    if (controller >= 80 && controller <= 90) {
        return "0..63=off 64..127=on";
    }
    if (controller >= 102 && controller <= 119) {
        return "?";
    }
    return "0..127";
}

// The parameter-number descriptions are too long for the usual column.
std::size_t descriptionWidth(int controller) {
    return controller >= 98 && controller <= 100 ? 40 : 35;
}

constexpr std::string_view kRule = "%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%\n";

std::string_view unitName(TimeUnit unit) {
    switch (unit) {
        case TimeUnit::Ticks:
            return "ticks";
        case TimeUnit::Beats:
            return "beat";
        case TimeUnit::Seconds:
            return "seconds";
        case TimeUnit::Milliseconds:
            return "milliseconds";
    }
    return "beat";
}

template <std::size_t N>
int countSet(const std::array<bool, N>& flags) {
    return static_cast<int>(std::count(flags.begin(), flags.end(), true));
}

void writeOpcodeBlock(smf::TextBuffer& out, int opcode) {
    out << "%\topcode " << opcode;
    switch (opcode) {
        case kNote:
            out << "\t= note\n"
                << "%\t   column 1 = start time of note\n"
                << "%\t   column 2 = opcode for note\n"
                << "%\t   column 3 = duration of note\n"
                << "%\t   column 4 = MIDI key number\n"
                << "%\t   column 5 = MIDI attack velocity\n"
                << "%\t   column 6 = MIDI channel\n"
                << "%\t   column 7 = MIDI-file track number\n";
            break;
        case kController:
            out << "\t= continuous controller\n"
                << "%\t   column 1 = action time of controller\n"
                << "%\t   column 2 = opcode for controller\n"
                << "%\t   column 3 = controller number\n"
                << "%\t   column 4 = controller value\n"
                << "%\t   column 5 = unused\n"
                << "%\t   column 6 = MIDI channel\n"
                << "%\t   column 7 = MIDI-file track number\n";
            break;
        case kInstrument:
            out << "\t= instrument\n"
                << "%\t   column 1 = start time of instrument on channel\n"
                << "%\t   column 2 = opcode for instrument\n"
                << "%\t   column 3 = instrument number\n"
                << "%\t   column 4-5 = unused\n"
                << "%\t   column 6 = MIDI channel\n"
                << "%\t   column 7 = MIDI-file track number\n";
            break;
        case kTempo:
            out << "\t= tempo change\n"
                << "%\t   column 1 = start time of tempo\n"
                << "%\t   column 2 = opcode for tempo\n"
                << "%\t   column 3 = number of beats per minute\n"
                << "%\t   column 4-7 = unused\n";
            break;
        case kMeter:
            out << "\t= meter signature\n"
                << "%\t   column 1 = start time of meter signature\n"
                << "%\t   column 2 = opcode for meter\n"
                << "%\t   column 3 = numerator of meter\n"
                << "%\t   column 4 = denominator of meter\n"
                << "%\t   column 5-7 = unused\n";
            break;
        case kKeySignature:
            out << "\t= key signature\n"
                << "%\t   column 1 = start time of key signature\n"
                << "%\t   column 2 = opcode for key signature\n"
                << "%\t   column 3 = number of sharps (positive) or flats (negative)\n"
                << "%\t   column 4 = mode (0=major, 1=minor)\n"
                << "%\t   column 5-7 = unused\n";
            break;
        default:
            break;
    }
}

void writeOpcodes(smf::TextBuffer& out, const Presence& presence) {
    const int count = countSet(presence.opcodes);
    if (count == 0) {
        return;
    }
    // The wording stays plural for a single opcode.
    out << "% " << count << " opcodes are present in the data:\n";
    for (int index = 1; index <= kOpcodeCount; ++index) {
        if (presence.opcodes[static_cast<std::size_t>(index)]) {
            writeOpcodeBlock(out, index * 1000);
        }
    }
}

void writeInstruments(smf::TextBuffer& out, const Presence& presence) {
    const int count = countSet(presence.instruments);
    if (count == 0) {
        return;
    }
    out << "% " << count
        << (count == 1 ? " instrument timbre is present in the data:\n"
                       : " instrument timbres are present in the data:\n");
    for (int program = 0; program < 128; ++program) {
        if (presence.instruments[static_cast<std::size_t>(program)]) {
            out << "%\tinstrument number " << program << "\t= " << instrumentShortName(program) << '\n';
        }
    }
}

void writeControllers(smf::TextBuffer& out, const Presence& presence) {
    const int count = countSet(presence.controllers);
    if (count == 0) {
        return;
    }
    out << "% " << count
        << (count == 1 ? " type of controller is present in the data:\n"
                       : " types of controllers are present in the data:\n");
    for (int controller = 0; controller < 128; ++controller) {
        if (presence.controllers[static_cast<std::size_t>(controller)]) {
            out << "%\tcontroller " << controllerLine(controller) << '\n';
        }
    }
}

}  // namespace

std::string_view instrumentShortName(int program) {
    return kInstrumentShortNames[static_cast<std::size_t>(program & 0x7F)];
}

std::string controllerLine(int controller) {
    controller &= 0x7F;
    std::string number = std::to_string(controller);
    std::string line(3 - std::min<std::size_t>(3, number.size()), ' ');
    line += number;
    line += "   ";
    line += frame::padded(kControllerDescriptions[static_cast<std::size_t>(controller)],
                          descriptionWidth(controller));
    line += controllerRange(controller);
    return line;
}

void writeLegend(smf::TextBuffer& out, const LegendHeader& header, const Presence& presence) {
    out << '\n' << kRule;
    out << "%% DATA LEGEND                                               %%\n";
    out << kRule;
    out << "%%Filename: " << header.filename << '\n';
    out << "%%Ticks per quarter note: " << header.ticksPerQuarterNote << '\n';
    out << "%%Time units used in column 1: " << unitName(header.unit) << '\n';
    writeOpcodes(out, presence);
    writeInstruments(out, presence);
    writeControllers(out, presence);
    out << kRule << '\n';
}

void writeOpcodeDefinitions(smf::TextBuffer& out, const Presence& presence) {
    for (int index = 1; index <= kOpcodeCount; ++index) {
        if (presence.opcodes[static_cast<std::size_t>(index)]) {
            out << opcodeName(index * 1000) << " = " << index * 1000 << ";\n";
        }
    }
}

}  // namespace matrix
