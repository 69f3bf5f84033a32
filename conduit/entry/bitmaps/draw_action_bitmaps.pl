#!/usr/bin/perl
# Draws the four sync-action bitmaps of the configuration dialogs: 48 by 24 pixels, 16 colours, a
# handheld on the left and a desktop computer on the right on light grey (0xC0C0C0, which the dialog
# maps to the button-face colour). Change the drawing here; the build writes the .bmp files.
#   draw_action_bitmaps.pl OUTPUT_FOLDER
use strict;
use warnings;

my ($W, $H) = (48, 24);
# The standard 16-colour palette, as (red, green, blue).
my @palette = (
  [0, 0, 0], [128, 0, 0], [0, 128, 0], [128, 128, 0], [0, 0, 128], [128, 0, 128], [0, 128, 128], [192, 192, 192],
  [128, 128, 128], [255, 0, 0], [0, 255, 0], [255, 255, 0], [0, 0, 255], [255, 0, 255], [0, 255, 255], [255, 255, 255],
);
my ($BLACK, $GREEN, $NAVY, $TEAL, $LIGHT, $GREY, $RED, $BLUE, $WHITE) = (0, 2, 4, 6, 7, 8, 9, 12, 15);

sub canvas { return [map { [($LIGHT) x $W] } 1 .. $H] }

sub rect {
  my ($c, $x0, $y0, $x1, $y1, $colour) = @_;
  for my $y ($y0 .. $y1) { $c->[$y][$_] = $colour for $x0 .. $x1 }
}

sub box {  # filled rectangle with a one-pixel outline
  my ($c, $x0, $y0, $x1, $y1, $outline, $fill) = @_;
  rect($c, $x0, $y0, $x1, $y1, $outline);
  rect($c, $x0 + 1, $y0 + 1, $x1 - 1, $y1 - 1, $fill);
}

# The handheld: a rounded body with a screen and four buttons. The desktop: monitor, stand, keyboard.
sub devices {
  my ($c, %ink) = @_;
  box($c, 2, 1, 13, 22, $ink{outline}, $ink{body});
  $c->[1][2] = $c->[1][13] = $c->[22][2] = $c->[22][13] = $LIGHT;
  box($c, 4, 3, 11, 13, $ink{outline}, $ink{screen});
  rect($c, $_, 17, $_ + 1, 18, $ink{detail}) for (4, 7, 10);
  rect($c, 6, 20, 9, 20, $ink{detail});

  box($c, 30, 1, 45, 14, $ink{outline}, $ink{body});
  box($c, 32, 3, 43, 12, $ink{outline}, $ink{monitor});
  rect($c, 36, 15, 39, 16, $ink{outline});
  box($c, 29, 17, 46, 21, $ink{outline}, $ink{body});
  rect($c, $_, 19, $_, 19, $ink{detail}) for map { 31 + 2 * $_ } 0 .. 7;
}

# A two-pixel shaft from x0 to x1 at rows y and y+1, with a head at the pointing end.
sub arrow {
  my ($c, $x0, $x1, $y, $colour, $towards_right) = @_;
  rect($c, $x0, $y, $x1, $y + 1, $colour);
  for my $i (0 .. 3) {
    my $x = $towards_right ? $x1 - 3 + $i : $x0 + 3 - $i;
    rect($c, $x, $y - 3 + $i, $x, $y + 4 - $i, $colour);
  }
}

my %colour = (outline => $BLACK, body => $GREY, screen => $GREEN, detail => $WHITE, monitor => $NAVY);
my %greyed = (outline => $GREY, body => $LIGHT, screen => $WHITE, detail => $GREY, monitor => $WHITE);

my %bitmaps = (
  action_synchronize => sub {
    my $c = shift;
    devices($c, %colour);
    arrow($c, 15, 28, 6, $BLUE, 1);
    arrow($c, 15, 28, 15, $RED, 0);
  },
  action_desktop_to_handheld => sub {
    my $c = shift;
    devices($c, %colour);
    arrow($c, 15, 28, 10, $RED, 0);
  },
  action_handheld_to_desktop => sub {
    my $c = shift;
    devices($c, %colour);
    arrow($c, 15, 28, 10, $BLUE, 1);
  },
  action_do_nothing => sub {
    my $c = shift;
    devices($c, %greyed);
    rect($c, 18, 6, 20, 17, $BLACK);
    rect($c, 23, 6, 25, 17, $BLACK);
  },
);

sub write_bmp {
  my ($c, $path) = @_;
  my $row_bytes = $W / 2;  # 24: already a multiple of four
  my $pixels = '';
  for my $y (reverse 0 .. $H - 1) {  # bottom row first
    my $row = $c->[$y];
    $pixels .= pack('C', ($row->[$_] << 4) | $row->[$_ + 1]) for map { 2 * $_ } 0 .. $row_bytes - 1;
  }
  my $colours = join '', map { pack('CCCC', $_->[2], $_->[1], $_->[0], 0) } @palette;
  my $offset = 14 + 40 + length $colours;
  my $file = pack('a2 V v v V', 'BM', $offset + length $pixels, 0, 0, $offset)
    . pack('V l l v v V V l l V V', 40, $W, $H, 1, 4, 0, length $pixels, 2835, 2835, 16, 16)
    . $colours . $pixels;
  open(my $out, '>:raw', $path) or die "$path: $!\n";
  print $out $file;
  close $out or die "$path: $!\n";
}

my $folder = shift // die "usage: draw_action_bitmaps.pl OUTPUT_FOLDER\n";
for my $name (sort keys %bitmaps) {
  my $c = canvas();
  $bitmaps{$name}->($c);
  write_bmp($c, "$folder/$name.bmp");
}
