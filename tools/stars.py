"""Star list: the bright star catalogue turned into the text member stars.dat.

One line per star with a position, in catalogue order:
    magnitude;right ascension;declination;class
right ascension in hundredths of a turn, declination in hundredths of a
half-turn, both cut towards zero to two decimals; lines end in CR LF.
"""
from fractions import Fraction

CLASS_LETTERS = "OBAFGKM"
# Carbon (C, R, N) and S-type stars are drawn with the red M colour,
# Wolf-Rayet stars (W) with the blue O colour.
CLASS_ALIASES = {"C": "M", "R": "M", "N": "M", "S": "M", "W": "O"}
# Stars whose catalogued type names no class at all, by HR number.
# HR 4210 (Eta Carinae) is listed only as "pec"; it is a hot, luminous blue star.
CLASS_OVERRIDES = {4210: "B"}


def class_letter(spectral_type):
    """First O, B, A, F, G, K or M letter of a spectral type (upper case only;
    lower-case prefixes such as g, d, sd, k, h, m are skipped)."""
    for ch in spectral_type:
        if ch in CLASS_LETTERS:
            return ch
        if ch in CLASS_ALIASES:
            return CLASS_ALIASES[ch]
    return None


def cut2(value):
    """Format an exact fraction cut (truncated towards zero) to two decimals."""
    hundredths = abs(value) * 100
    whole = hundredths.numerator // hundredths.denominator
    sign = "-" if value < 0 and whole != 0 else ""
    return "%s%d.%02d" % (sign, whole // 100, whole % 100)


def field(line, first, last):
    """Bytes first..last (1-based, inclusive) of a fixed-width line."""
    return line[first - 1:last]


def star_line(line):
    """The stars.dat line for one catalogue record, or None when it has no position."""
    rah = field(line, 76, 77).strip()
    if not rah:
        return None
    ra_hours = (Fraction(int(rah)) + Fraction(int(field(line, 78, 79)), 60)
                + Fraction(field(line, 80, 83).strip()) / 3600)
    dec_deg = (Fraction(int(field(line, 85, 86))) + Fraction(int(field(line, 87, 88)), 60)
               + Fraction(int(field(line, 89, 90)), 3600))
    if field(line, 84, 84) == "-":
        dec_deg = -dec_deg
    vmag = field(line, 103, 107).strip()
    if not vmag:
        raise ValueError("star without magnitude: " + line[:4])
    letter = CLASS_OVERRIDES.get(int(field(line, 1, 4)), None) or class_letter(field(line, 128, 147))
    if letter is None:
        raise ValueError("star without spectral class: " + line[:4])
    ra_units = ra_hours / 24 * 100        # hundredths of a full turn
    dec_units = dec_deg / 180 * 100       # hundredths of a half-turn
    return "%s;%s;%s;%s" % (cut2(Fraction(vmag)), cut2(ra_units), cut2(dec_units), letter)


def make_star_list(catalogue_path):
    """Bytes of stars.dat made from the catalogue file."""
    with open(catalogue_path, "r", encoding="latin-1") as f:
        records = f.read().split("\n")
    out = []
    for rec in records:
        if not rec.strip():
            continue
        line = star_line(rec.ljust(197))
        if line is not None:
            out.append(line)
    return ("\r\n".join(out) + "\r\n").encode("ascii")
