#!/usr/bin/perl
# The Palm::PDB side of the interoperability test of the emulated handheld's files. Lists a database
# in the same text form as sim_pdb_interop, with attributes in Sync Manager bits (0x80 deleted,
# 0x40 modified, 0x10 private, 0x08 archived), the category 0 where the file keeps none, and no data
# for a deleted record that was not archived (a device gives it up).
#   palm_pdb.pl read FILE LISTING    lists a database as Palm::PDB reads it
#   palm_pdb.pl write FILE LISTING   writes a database with Palm::PDB and lists what it wrote
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my ($command, $file, $listing) = @ARGV;
die "usage: palm_pdb.pl read|write FILE LISTING\n" unless defined $listing;

sub hex_or_dash { my ($bytes) = @_; return (defined $bytes && length $bytes) ? unpack("H*", $bytes) : "-"; }

sub list_database {
  my ($pdb, $records) = @_;
  open(my $out, '>', $listing) or die "cannot write $listing: $!\n";
  binmode $out;
  printf $out "name %s\ncreator %s\ntype %s\nversion %d\nappinfo %s\n", $pdb->{name},
    unpack("H*", $pdb->{creator}), unpack("H*", $pdb->{type}), $pdb->{version}, hex_or_dash($pdb->{appinfo});
  for my $record (@$records) {
    my $a = $record->{attributes};
    my $bits = ($a->{expunged} || $a->{Delete} ? 0x80 : 0) | ($a->{dirty} || $a->{Dirty} ? 0x40 : 0) |
               ($a->{private} || $a->{Secret} ? 0x10 : 0) | ($a->{archive} ? 0x08 : 0);
    my $data = ($bits & 0x80) && !($bits & 0x08) ? "" : $record->{data};
    printf $out "record %06x %02x %d %s\n", $record->{id}, $bits, ($bits & 0x80) ? 0 : $record->{category} // 0,
      hex_or_dash($data);
  }
  close $out or die "cannot write $listing: $!\n";
}

if ($command eq 'read') {
  my $pdb = Palm::PDB->new;
  $pdb->Load($file);
  list_database($pdb, $pdb->{records});
} elsif ($command eq 'write') {
  my $pdb = Palm::Raw->new;
  $pdb->{name} = "PerlDB";
  $pdb->{creator} = "KRVT";
  $pdb->{type} = "DATA";
  $pdb->{version} = 4;
  $pdb->{appinfo} = join('', map { chr(($_ * 13) % 256) } 0 .. 299);
  $pdb->{attributes}{backup} = 1;
  my @records = (
    { id => 0x000001, category => 0,  attributes => {}, data => "plain" },
    { id => 0x123456, category => 15, attributes => { dirty => 1, private => 1 },
      data => join('', map { chr } 0 .. 255) },
    { id => 0xFEDCBA, category => 8,  attributes => { dirty => 1 }, data => "x" x 5000 },
    { id => 0x000002, category => 3,  attributes => { private => 1 }, data => "\0\0\r\n,\$" },
    # Palm::PDB puts deleted records last; so does this list.
    { id => 0x0000AA, category => 0,  attributes => { expunged => 1, dirty => 1 }, data => "gone" },
    { id => 0x0000BB, category => 0,  attributes => { expunged => 1, archive => 1 }, data => "keep" },
    { id => 0x0000CC, category => 0,  attributes => { expunged => 1, archive => 1, dirty => 1, private => 1 },
      data => "\$0000001Trip,private report" },
  );
  $pdb->{records} = \@records;
  $pdb->Write($file) or die "cannot write $file\n";
  list_database($pdb, \@records);
} else {
  die "unknown command $command\n";
}
